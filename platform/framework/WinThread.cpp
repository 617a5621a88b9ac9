#include "WinThread.h"

#include <process.h>

namespace vorlan {
namespace {

struct Start {
    AFX_THREADPROC proc;
    LPVOID param;
};

unsigned __stdcall ThreadMain(void* start) {
    std::unique_ptr<Start> owned(static_cast<Start*>(start));
    return owned->proc(owned->param);
}

}  // namespace

CWinThread::~CWinThread() {
    if (m_hThread) CloseHandle(m_hThread);
}

DWORD CWinThread::ExitCode() const {
    DWORD code = 0;
    return GetExitCodeThread(m_hThread, &code) ? code : 0;
}

std::unique_ptr<CWinThread> AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize,
                                           DWORD flags) {
    if (!proc) return nullptr;
    auto thread = std::make_unique<CWinThread>();
    auto start = std::make_unique<Start>(Start{proc, param});
    unsigned id = 0;
    // Suspended until the priority is set; the caller's own flag decides
    // whether it runs then.
    auto handle = _beginthreadex(nullptr, stackSize, ThreadMain, start.get(), CREATE_SUSPENDED, &id);
    if (!handle) return nullptr;
    start.release();
    thread->m_hThread = reinterpret_cast<HANDLE>(handle);
    thread->m_nThreadID = id;
    if (priority != THREAD_PRIORITY_NORMAL) SetThreadPriority(thread->m_hThread, priority);
    if (!(flags & CREATE_SUSPENDED)) thread->ResumeThread();
    return thread;
}

}  // namespace vorlan
