// The debugger Wine starts for a program that crashes in a test run:
//   crash-report PROCESS-ID EVENT-HANDLE
// It attaches, prints the exception code and a back-trace of the crashing
// thread to the program's own output, and ends the program with the
// exception code as its exit code, so the run fails at once and says why,
// instead of waiting on an interactive debugger.
#include <windows.h>

#include <dbghelp.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

// A crashed process that never reaches its last-chance exception (it hangs
// in its own handler, say) is ended after this long all the same.
constexpr DWORD kGiveUpMs = 20000;
constexpr int kMaxFrames = 64;

void PrintBacktrace(HANDLE process, HANDLE thread) {
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_FULL;
    if (!GetThreadContext(thread, &context)) {
        std::fprintf(stderr, "crash-report: the thread's registers cannot be read (error %lu)\n", GetLastError());
        return;
    }
    SymSetOptions(SYMOPT_DEFERRED_LOADS | SYMOPT_LOAD_LINES | SYMOPT_UNDNAME);
    SymInitialize(process, nullptr, TRUE);
    STACKFRAME64 frame = {};
    frame.AddrPC.Offset = context.Rip;
    frame.AddrFrame.Offset = context.Rbp;
    frame.AddrStack.Offset = context.Rsp;
    frame.AddrPC.Mode = frame.AddrFrame.Mode = frame.AddrStack.Mode = AddrModeFlat;
    std::fprintf(stderr, "Backtrace:\n");
    for (int i = 0; i < kMaxFrames; ++i) {
        if (!StackWalk64(IMAGE_FILE_MACHINE_AMD64, process, thread, &frame, &context, nullptr,
                         SymFunctionTableAccess64, SymGetModuleBase64, nullptr) ||
            frame.AddrPC.Offset == 0)
            break;
        DWORD64 address = frame.AddrPC.Offset;
        IMAGEHLP_MODULE64 module = {};
        module.SizeOfStruct = sizeof module;
        char where[300] = "?";
        if (SymGetModuleInfo64(process, address, &module))
            std::snprintf(where, sizeof where, "%s+0x%llx", module.ModuleName,
                          static_cast<unsigned long long>(address - module.BaseOfImage));
        alignas(SYMBOL_INFO) char buffer[sizeof(SYMBOL_INFO) + 256] = {};
        auto* symbol = reinterpret_cast<SYMBOL_INFO*>(buffer);
        symbol->SizeOfStruct = sizeof(SYMBOL_INFO);
        symbol->MaxNameLen = 255;
        DWORD64 displacement = 0;
        const char* name = SymFromAddr(process, address, &displacement, symbol) ? symbol->Name : "";
        std::fprintf(stderr, "  %2d 0x%016llx %s %s\n", i, static_cast<unsigned long long>(address), where, name);
    }
    SymCleanup(process);
}

// The test harness's runner names a file in VORLAN_CRASH_FILE (the crashed
// program's environment, which Wine hands to its debugger): the exception
// code written there fails the run even where the exit status does not.
void NoteCrash(DWORD code) {
    char path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("VORLAN_CRASH_FILE", path, sizeof path);
    if (length == 0 || length >= sizeof path) return;
    FILE* file = std::fopen(path, "w");
    if (!file) {
        std::fprintf(stderr, "crash-report: %s cannot be written\n", path);
        return;
    }
    std::fprintf(file, "0x%08lx\n", code);
    std::fclose(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: crash-report PROCESS-ID EVENT-HANDLE\n");
        return 2;
    }
    DWORD processId = std::strtoul(argv[1], nullptr, 0);
    auto event = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(std::strtoull(argv[2], nullptr, 0)));
    if (!DebugActiveProcess(processId)) {
        std::fprintf(stderr, "crash-report: cannot attach to process %lu (error %lu)\n", processId, GetLastError());
        return 1;
    }
    // The debugger's end must not take the crashed program with it before
    // it has been ended with its own code.
    DebugSetProcessKillOnExit(FALSE);
    if (event) {
        SetEvent(event);
        CloseHandle(event);
    }

    HANDLE process = nullptr;
    std::map<DWORD, HANDLE> threads;
    DWORD start = GetTickCount();
    for (;;) {
        DEBUG_EVENT e;
        DWORD waited = GetTickCount() - start;
        if (!WaitForDebugEvent(&e, waited >= kGiveUpMs ? 0 : kGiveUpMs - waited)) {
            std::fprintf(stderr, "crash-report: process %lu gave no last-chance exception; ended\n", processId);
            if (process) TerminateProcess(process, EXCEPTION_NONCONTINUABLE_EXCEPTION);
            return 1;
        }
        DWORD status = DBG_CONTINUE;
        switch (e.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            process = e.u.CreateProcessInfo.hProcess;
            threads[e.dwThreadId] = e.u.CreateProcessInfo.hThread;
            if (e.u.CreateProcessInfo.hFile) CloseHandle(e.u.CreateProcessInfo.hFile);
            break;
        case CREATE_THREAD_DEBUG_EVENT:
            threads[e.dwThreadId] = e.u.CreateThread.hThread;
            break;
        case EXIT_THREAD_DEBUG_EVENT:
            threads.erase(e.dwThreadId);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (e.u.LoadDll.hFile) CloseHandle(e.u.LoadDll.hFile);
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            return 0;
        case EXCEPTION_DEBUG_EVENT: {
            const EXCEPTION_RECORD& record = e.u.Exception.ExceptionRecord;
            if (e.u.Exception.dwFirstChance) {
                // The break-in of the attach, and exceptions the program
                // may still handle, are not the crash.
                status = record.ExceptionCode == EXCEPTION_BREAKPOINT ? DBG_CONTINUE : DBG_EXCEPTION_NOT_HANDLED;
                break;
            }
            std::fprintf(stderr, "Unhandled exception 0x%08lx at 0x%016llx in thread %04lx of process %04lx\n",
                         record.ExceptionCode, static_cast<unsigned long long>(
                             reinterpret_cast<ULONG_PTR>(record.ExceptionAddress)),
                         e.dwThreadId, processId);
            auto thread = threads.find(e.dwThreadId);
            if (process && thread != threads.end()) PrintBacktrace(process, thread->second);
            std::fflush(stderr);
            NoteCrash(record.ExceptionCode);
            TerminateProcess(process, record.ExceptionCode);
            status = DBG_CONTINUE;
            break;
        }
        default:
            break;
        }
        ContinueDebugEvent(e.dwProcessId, e.dwThreadId, status);
    }
}
