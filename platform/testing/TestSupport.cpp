#include "TestSupport.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vorlan::testing {

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

TempFolder::TempFolder(const std::string& base) {
    std::string parent = base + "\\";
    if (base.empty()) {
        char temp[MAX_PATH];
        DWORD n = GetTempPathA(MAX_PATH, temp);
        if (n == 0 || n >= MAX_PATH) throw std::runtime_error("no temporary folder");
        parent = temp;
    }
    static LONG counter = 0;
    for (;;) {
        path_ = parent + "vorlan-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(InterlockedIncrement(&counter));
        if (CreateDirectoryA(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + path_);
    }
}

TempFolder::~TempFolder() {
    // A file chooser leaves the process in the folder it chose from, and
    // the folder cannot go while it is someone's current directory.
    char current[MAX_PATH] = {};
    const DWORD n = GetCurrentDirectoryA(MAX_PATH, current);
    if (n > 0 && n < MAX_PATH && _strnicmp(current, path_.c_str(), path_.size()) == 0 &&
        (current[path_.size()] == '\0' || current[path_.size()] == '\\'))
        SetCurrentDirectoryA(path_.substr(0, path_.rfind('\\')).c_str());
    std::string from = path_ + std::string(1, '\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}

std::string ProfileFolder() {
    char profile[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile)))
        throw std::runtime_error("no profile folder");
    return profile;
}

std::string UniqueName(const std::string& prefix) {
    static LONG counter = 0;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "-%lu-%08lX%08lX-%ld", GetCurrentProcessId(), now.dwHighDateTime,
                  now.dwLowDateTime, InterlockedIncrement(&counter));
    return prefix + suffix;
}

double SteadySeconds() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double TimeOrExit(const std::function<bool()>& run, const std::string& message) {
    const double from = SteadySeconds();
    const bool ok = run();
    const double seconds = SteadySeconds() - from;
    if (!ok) {
        std::fprintf(stderr, "%s\n", message.c_str());
        std::exit(1);
    }
    return seconds;
}

bool StartProgram(std::string commandLine, PROCESS_INFORMATION& process) {
    STARTUPINFOA startup = {sizeof startup};
    process = {};
    return CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process);
}

int WaitForProgram(PROCESS_INFORMATION& process, DWORD timeoutMs) {
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    process = {};
    return static_cast<int>(code);
}

int RunProgram(std::string commandLine, DWORD timeoutMs) {
    PROCESS_INFORMATION process;
    if (!StartProgram(std::move(commandLine), process)) return -1;
    return WaitForProgram(process, timeoutMs);
}

ScopedEnvironment::ScopedEnvironment(const std::string& name, const std::string& value) : name_(name) {
    const DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size > 0) {
        std::string text(size, '\0');
        const DWORD length = GetEnvironmentVariableA(name.c_str(), text.data(), size);
        text.resize(length);
        previous_ = text;
    }
    SetEnvironmentVariableA(name.c_str(), value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableA(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}

void PumpMessages(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (GetTickCount() - start >= milliseconds) return;
        Sleep(10);
    }
}

HWND WaitForDialog(const std::string& caption, DWORD timeoutMs) {
    struct Search {
        const std::string* caption;
        HWND found;
    };
    const DWORD start = GetTickCount();
    do {
        Search search = {&caption, nullptr};
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                char name[32] = {};
                GetClassNameA(window, name, sizeof name);
                if (process != GetCurrentProcessId() || !IsWindowVisible(window) || std::string(name) != "#32770" ||
                    WindowText(window) != *s->caption)
                    return TRUE;
                s->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

std::string ListViewText(HWND list, int row, int column) {
    char text[1024] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace vorlan::testing
