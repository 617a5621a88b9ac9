// Programs, libraries, windows and message boxes of the device.
#include <cstring>
#include <string>

#include "Coredll.h"
#include "Device.h"
#include "Journal.h"

using namespace vorlan::device;

namespace {

bool HasExtension(const std::u16string& path) {
    size_t slash = path.find_last_of(u'\\');
    return path.find(u'.', slash == std::u16string::npos ? 0 : slash) != std::u16string::npos;
}

std::string Utf8(LPCWSTR text) { return text ? Utf16ToUtf8(U16(text)) : std::string(); }

// The button a message box of this style answers with when nobody is asked.
int DefaultAnswer(UINT type) {
    static const std::vector<int> buttons[] = {
        {IDOK}, {IDOK, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL},
        {IDYES, IDNO}, {IDRETRY, IDCANCEL}, {IDCANCEL, IDTRYAGAIN, IDCONTINUE},
    };
    UINT kind = type & MB_TYPEMASK;
    if (kind >= std::size(buttons)) return IDOK;
    size_t index = (type & MB_DEFMASK) >> 8;
    const auto& list = buttons[kind];
    return list[index < list.size() ? index : 0];
}

struct WindowSearch {
    LPCWSTR className;
    LPCWSTR title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (!Device::Get().IsDeviceProcess(pid)) return TRUE;
    wchar_t text[512];
    if (search->className) {
        if (!GetClassNameW(window, text, 512) || lstrcmpiW(text, search->className) != 0) return TRUE;
    }
    if (search->title) {
        text[0] = 0;
        GetWindowTextW(window, text, 512);
        if (lstrcmpiW(text, search->title) != 0) return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

extern "C" BOOL WINAPI Device_CreateProcessW(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES,
                                             LPSECURITY_ATTRIBUTES, BOOL, DWORD flags, LPVOID, LPWSTR,
                                             LPSTARTUPINFOW, LPPROCESS_INFORMATION information) {
    Device& device = Device::Get();
    if (!application) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::u16string name = U16(application);
    if (!HasExtension(name)) name += u".exe";
    HostPath p;
    BOOL ok = device.MapOrFail(W(name), p);
    DWORD attributes = ok ? GetFileAttributesW(p.host.c_str()) : INVALID_FILE_ATTRIBUTES;
    if (ok && attributes == INVALID_FILE_ATTRIBUTES) ok = FALSE;
    if (ok && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        ok = FALSE;
    }
    PROCESS_INFORMATION pi = {};
    if (ok) {
        std::wstring line = L"\"" + p.host + L"\"";
        if (commandLine && *commandLine) line += L" " + std::wstring(commandLine);
        // The device has no start-up record to pass; the host needs one.
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        ok = CreateProcessW(p.host.c_str(), line.data(), nullptr, nullptr, FALSE, flags & CREATE_SUSPENDED, nullptr,
                            device.Root().c_str(), &startup, &pi);
    }
    DWORD error = ok ? 0 : GetLastError();
    if (ok) {
        device.AddProcess(pi.dwProcessId);
        device.AdoptProcess(pi.hProcess);
    }
    device.Journal(FormatJournalLine("process", {{"application", Utf8(application)},
                                                 {"commandLine", Utf8(commandLine)},
                                                 {"flags", std::to_string(flags)},
                                                 {"error", std::to_string(error)}}));
    if (ok) {
        if (information)
            *information = pi;
        else {
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
    SetLastError(error);
    return ok;
}

extern "C" HMODULE WINAPI Device_LoadLibraryW(LPCWSTR name) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::u16string path = U16(name);
    // A bare name is looked for in the device's Windows folder.
    if (path.find_first_of(u"\\/") == std::u16string::npos) path = u"\\Windows\\" + path;
    if (!HasExtension(path)) path += u".dll";
    HostPath p;
    if (!Device::Get().MapOrFail(W(path), p)) return nullptr;
    if (GetFileAttributesW(p.host.c_str()) == INVALID_FILE_ATTRIBUTES) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return LoadLibraryExW(p.host.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

extern "C" FARPROC WINAPI Device_GetProcAddressW(HMODULE module, LPCWSTR name) {
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string narrow;
    for (const wchar_t* c = name; *c; ++c) {
        if (*c > 0x7F) {
            SetLastError(ERROR_PROC_NOT_FOUND);
            return nullptr;
        }
        narrow += static_cast<char>(*c);
    }
    return GetProcAddress(module, narrow.c_str());
}

extern "C" HWND WINAPI Device_FindWindowW(LPCWSTR className, LPCWSTR title) {
    WindowSearch search{className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.found) SetLastError(ERROR_FILE_NOT_FOUND);
    return search.found;
}

extern "C" int WINAPI Device_MessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    int answer = 0;
    if (!Device::Get().NextAnswer(answer)) answer = DefaultAnswer(type);
    Device::Get().Journal(FormatJournalLine("msgbox", {{"text", Utf8(text)},
                                                       {"caption", Utf8(caption)},
                                                       {"type", std::to_string(type)},
                                                       {"answer", std::to_string(answer)}}));
    return answer;
}

extern "C" BOOL WINAPI DeviceIsDeviceWindow(HWND window) {
    HWND top = GetAncestor(window, GA_ROOT);
    DWORD pid = 0;
    if (!top || !GetWindowThreadProcessId(top, &pid)) return FALSE;
    return Device::Get().IsDeviceProcess(pid);
}
