#pragma once
// Worker threads whose handle stays valid for the caller: the thread object
// is owned by whoever started it and closes the handle only when it goes,
// so a wait on m_hThread never meets a closed (or reused) handle, however
// early the thread ends.
#include <windows.h>

#include <memory>

namespace vorlan {

using AFX_THREADPROC = UINT(__cdecl*)(LPVOID);

class CWinThread {
public:
    CWinThread() = default;
    ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    DWORD ResumeThread() const { return ::ResumeThread(m_hThread); }
    // The thread's exit code once it ended, STILL_ACTIVE before.
    DWORD ExitCode() const;

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
};

// Starts proc(param) on a new thread (with the C runtime set up for it);
// CREATE_SUSPENDED in flags leaves it waiting for ResumeThread. nullptr
// when the thread could not be started.
std::unique_ptr<CWinThread> AfxBeginThread(AFX_THREADPROC proc, LPVOID param,
                                           int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0,
                                           DWORD flags = 0);

}  // namespace vorlan
