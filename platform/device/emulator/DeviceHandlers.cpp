// Answers to the desktop's requests for device facts, programs, windows,
// shortcuts and calls into device libraries.
#include <cstring>
#include <map>
#include <mutex>

#include "DeviceCalls.h"
#include "Handlers.h"
#include "Journal.h"
#include "Profile.h"

namespace vorlan::device {

namespace {

uint32_t Wire(HWND window) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)); }
HWND Window(uint32_t value) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(value)); }

BOOL CALLBACK FirstDeviceWindow(HWND window, LPARAM context) {
    if (!Ce.DeviceIsDeviceWindow(window)) return TRUE;
    *reinterpret_cast<HWND*>(context) = window;
    return FALSE;
}

// A window of the device, or null with the device's error.
bool TakeWindow(Request& r, HWND& window) {
    window = Window(r.in.U32());
    if (!r.in.Done()) return false;
    if (!IsWindow(window) || !Ce.DeviceIsDeviceWindow(window)) {
        r.error = ERROR_INVALID_WINDOW_HANDLE;
        return false;
    }
    return true;
}

typedef HRESULT(STDAPICALLTYPE* InvokeEntry)(DWORD, BYTE*, DWORD*, BYTE**, void*);

std::mutex librariesLock;
std::map<std::u16string, HMODULE> libraries;

// Device libraries stay loaded once called, as with the device's own service.
HMODULE Library(const std::u16string& name) {
    std::u16string path = name;
    if (path.find_first_of(u"\\/") == std::u16string::npos) path = u"\\Windows\\" + path;
    size_t slash = path.find_last_of(u"\\/");
    if (path.find(u'.', slash) == std::u16string::npos) path += u".dll";
    std::lock_guard<std::mutex> guard(librariesLock);
    auto it = libraries.find(path);
    if (it != libraries.end()) return it->second;
    HMODULE module = Ce.LoadLibraryW(reinterpret_cast<LPCWSTR>(path.c_str()));
    if (module) libraries[path] = module;
    return module;
}

}  // namespace

void OnGetSystemInfo(Request& r) {
    if (!r.in.Done()) return;
    SYSTEM_INFO info;
    Ce.GetSystemInfo(&info);
    r.out.U32(info.wProcessorArchitecture);
    r.out.U32(info.dwPageSize);
    r.out.U32(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(info.lpMinimumApplicationAddress)));
    r.out.U32(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(info.lpMaximumApplicationAddress)));
    r.out.U32(static_cast<uint32_t>(info.dwActiveProcessorMask));
    r.out.U32(info.dwNumberOfProcessors);
    r.out.U32(info.dwProcessorType);
    r.out.U32(info.dwAllocationGranularity);
    r.out.U32(info.wProcessorLevel);
    r.out.U32(info.wProcessorRevision);
}

void OnGetVersionEx(Request& r) {
    if (!r.in.Done()) return;
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    BOOL ok = Ce.GetVersionExW(&info);
    r.error = GetLastError();
    r.out.U32(ok);
    r.out.U32(info.dwMajorVersion);
    r.out.U32(info.dwMinorVersion);
    r.out.U32(info.dwBuildNumber);
    r.out.U32(info.dwPlatformId);
    info.szCSDVersion[127] = 0;
    r.out.Text(reinterpret_cast<const char16_t*>(info.szCSDVersion));
}

void OnGlobalMemoryStatus(Request& r) {
    if (!r.in.Done()) return;
    MEMORYSTATUS status = {};
    Ce.GlobalMemoryStatus(&status);
    for (SIZE_T v : {static_cast<SIZE_T>(status.dwMemoryLoad), status.dwTotalPhys, status.dwAvailPhys,
                     status.dwTotalPageFile, status.dwAvailPageFile, status.dwTotalVirtual, status.dwAvailVirtual})
        r.out.U32(static_cast<uint32_t>(v));
}

void OnGetStoreInformation(Request& r) {
    if (!r.in.Done()) return;
    STORE_INFORMATION info = {};
    BOOL ok = Ce.GetStoreInformation(&info);
    r.error = GetLastError();
    r.out.U32(ok);
    r.out.U32(info.dwStoreSize);
    r.out.U32(info.dwFreeSize);
}

void OnGetSpecialFolderPath(Request& r) {
    int folder = r.in.I32();
    if (!r.in.Done()) return;
    wchar_t path[MAX_PATH] = {};
    BOOL ok = Ce.SHGetSpecialFolderPath(nullptr, path, folder, FALSE);
    r.error = GetLastError();
    r.out.Text(ok ? reinterpret_cast<const char16_t*>(path) : u"");
}

void OnGetTempPath(Request& r) {
    if (!r.in.Done()) return;
    wchar_t path[MAX_PATH] = {};
    DWORD n = Ce.GetTempPathW(MAX_PATH, path);
    r.out.Text(n < MAX_PATH ? reinterpret_cast<const char16_t*>(path) : u"");
}

void OnGetSystemMetrics(Request& r) {
    int index = r.in.I32();
    if (!r.in.Done()) return;
    r.out.I32(Ce.GetSystemMetrics(index));
}

void OnCreateProcess(Request& r) {
    Text16 application(r.in), commandLine(r.in);
    DWORD flags = r.in.U32();
    if (!r.in.Done()) return;
    PROCESS_INFORMATION pi = {};
    BOOL ok = Ce.CreateProcessW(application, commandLine.Mutable(), nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                                nullptr, &pi);
    r.error = GetLastError();
    r.out.U32(ok);
    r.out.U32(ok ? r.session.Add(DeviceHandle::Process, pi.hProcess) : 0);
    r.out.U32(ok ? r.session.Add(DeviceHandle::Thread, pi.hThread) : 0);
    r.out.U32(pi.dwProcessId);
    r.out.U32(pi.dwThreadId);
}

void OnGetWindow(Request& r) {
    HWND window = Window(r.in.U32());
    UINT command = r.in.U32();
    if (!r.in.Done()) return;
    HWND found = nullptr;
    if (!window) {
        if (command == GW_CHILD) EnumWindows(FirstDeviceWindow, reinterpret_cast<LPARAM>(&found));
    } else if (IsWindow(window) && Ce.DeviceIsDeviceWindow(window)) {
        found = GetWindow(window, command);
        // Walking the top-level list passes over the desktop's windows.
        while (found && !Ce.DeviceIsDeviceWindow(found) && (command == GW_HWNDNEXT || command == GW_HWNDPREV))
            found = GetWindow(found, command);
        if (found && !Ce.DeviceIsDeviceWindow(found)) found = nullptr;
    } else {
        r.error = ERROR_INVALID_WINDOW_HANDLE;
    }
    r.out.U32(Wire(found));
}

void OnGetWindowLong(Request& r) {
    uint32_t value = r.in.U32();
    int index = r.in.I32();
    if (!r.in.Done()) return;
    HWND window = Window(value);
    LONG result = 0;
    if (IsWindow(window) && Ce.DeviceIsDeviceWindow(window))
        result = GetWindowLongW(window, index);
    else
        r.error = ERROR_INVALID_WINDOW_HANDLE;
    r.out.I32(result);
}

template <auto Read>
void WindowText(Request& r) {
    HWND window;
    wchar_t text[1024] = {};
    if (TakeWindow(r, window)) Read(window, text, 1024);
    if (!r.in.Done()) return;
    r.out.Text(reinterpret_cast<const char16_t*>(text));
}

void OnGetWindowText(Request& r) { WindowText<GetWindowTextW>(r); }
void OnGetClassName(Request& r) { WindowText<GetClassNameW>(r); }

void OnSHCreateShortcut(Request& r) {
    Text16 shortcut(r.in), target(r.in);
    if (!r.in.Done()) return;
    if (target.IsNull()) {
        r.error = ERROR_INVALID_PARAMETER;
        r.out.U32(FALSE);
        return;
    }
    // A device shortcut is a text file: the target's length, "#", the target.
    std::string text = std::to_string(target.Value().size()) + "#" + Utf16ToUtf8(target.Value());
    HANDLE h = Ce.CreateFileW(shortcut, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    BOOL ok = FALSE;
    if (h == INVALID_HANDLE_VALUE) {
        r.error = GetLastError();
    } else {
        DWORD written = 0;
        ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
        r.error = ok ? 0 : GetLastError();
        CloseHandle(h);
    }
    const std::string line = FormatJournalLine("shortcut", {{"path", Utf16ToUtf8(shortcut.Value())},
                                                            {"target", Utf16ToUtf8(target.Value())},
                                                            {"error", std::to_string(r.error)}});
    Ce.DeviceJournal(line.data(), static_cast<DWORD>(line.size()));
    r.out.U32(ok);
}

void OnInvoke(Request& r) {
    Text16 library(r.in), function(r.in);
    auto input = r.in.Bytes(kDataChunk);
    if (!r.in.Done()) return;
    if (library.IsNull() || function.IsNull()) {
        r.malformed = true;
        return;
    }
    HMODULE module = Library(library.Value());
    if (!module) {
        r.error = GetLastError();
        r.out.U32(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
        r.out.Bytes(nullptr, 0);
        return;
    }
    auto entry = reinterpret_cast<InvokeEntry>(Ce.GetProcAddressW(module, function));
    if (!entry) {
        r.error = ERROR_PROC_NOT_FOUND;
        r.out.U32(HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND));
        r.out.Bytes(nullptr, 0);
        return;
    }
    // The export gets its own copy of the input (none for an empty one) and
    // leaves it to us to free; its output is ours to free too.
    BYTE* block = nullptr;
    if (!input.empty()) {
        block = static_cast<BYTE*>(LocalAlloc(LPTR, input.size()));
        if (!block) {
            r.out.U32(E_OUTOFMEMORY);
            r.out.Bytes(nullptr, 0);
            return;
        }
        std::memcpy(block, input.data(), input.size());
    }
    DWORD outputSize = 0;
    BYTE* output = nullptr;
    HRESULT hr = entry(static_cast<DWORD>(input.size()), block, &outputSize, &output, nullptr);
    r.error = GetLastError();
    if (block) LocalFree(block);
    if (output && outputSize > kDataChunk) {
        hr = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
        outputSize = 0;
    }
    r.out.U32(hr);
    r.out.Bytes(output, output ? outputSize : 0);
    if (output) LocalFree(output);
}

}  // namespace vorlan::device
