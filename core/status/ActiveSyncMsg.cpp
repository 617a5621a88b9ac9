#include "ActiveSyncMsg.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "Bstr.h"
#include "Text.h"

namespace vorlan {
namespace {

constexpr int kStatusPaneId = 0xE900;
constexpr int kStatusLineId = 5023;

// The text cut to fit a field of size characters with its terminator,
// never inside a surrogate pair.
void CopyField(wchar_t* field, size_t size, const std::string& text) {
    std::wstring wide = com::WideFromAnsi(text);
    if (wide.size() >= size) {
        wide.resize(size - 1);
        if (!wide.empty() && wide.back() >= 0xD800 && wide.back() <= 0xDBFF) wide.pop_back();
    }
    wide.copy(field, wide.size());
    field[wide.size()] = L'\0';
}

HWND ValidChild(HWND parent, int id) {
    HWND child = parent ? GetDlgItem(parent, id) : nullptr;
    return child && IsWindow(child) ? child : nullptr;
}

// The host executable never changes, so it is asked once.
bool HostIsRunner() {
    static const bool runner = [] {
        std::vector<char> host(32768);
        DWORD length = GetModuleFileNameA(nullptr, host.data(), static_cast<DWORD>(host.size()));
        return length > 0 && length < host.size() && IsRunnerHostPath(std::string_view(host.data(), length));
    }();
    return runner;
}

}  // namespace

bool IsRunnerHostPath(std::string_view path) {
    constexpr std::string_view name = "Stelmar";
    for (size_t at = 0; at + name.size() <= path.size(); ++at)
        if (EqualsNoCase(path.substr(at, name.size()), name)) return true;
    return false;
}

BOOL CActiveSyncMsg::ShowBalloon(const std::string& title, const std::string& text, DWORD timeout) const {
    HWND owner = FindWindowA(nullptr, "DccMan");
    if (!owner) return FALSE;
    NOTIFYICONDATAW balloon = {};
    balloon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    balloon.hWnd = owner;
    balloon.uID = 1;
    balloon.uFlags = NIF_INFO;
    CopyField(balloon.szInfo, ARRAYSIZE(balloon.szInfo), text);
    balloon.uTimeout = timeout;
    CopyField(balloon.szInfoTitle, ARRAYSIZE(balloon.szInfoTitle), title);
    balloon.dwInfoFlags = NIIF_ERROR;
    return Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

BOOL CActiveSyncMsg::SetStatus(const std::string& item, const std::string& text) const {
    if (HostIsRunner()) {
        HWND list = FindRunnerList();
        int row = list ? FindListRow(list, item) : -1;
        if (row < 0) return FALSE;
        LVITEMA cell = {};
        cell.iSubItem = 1;
        cell.pszText = const_cast<char*>(text.c_str());
        SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
        return TRUE;
    }

    HWND sync = FindWindowA("SyncMgrUI", nullptr);
    if (!sync || !IsWindow(sync)) return FALSE;
    HWND pane = FindWindowExA(sync, nullptr, nullptr, "ViewTopPane");
    HWND line = ValidChild(ValidChild(pane, kStatusPaneId), kStatusLineId);
    if (!line) return FALSE;
    SetWindowTextW(line, com::WideFromAnsi("Vorlan: " + text).c_str());
    return TRUE;
}

HWND CActiveSyncMsg::FindRunnerList() const {
    HWND runner = FindWindowA(nullptr, "Stelmar");
    return runner ? FindWindowExA(runner, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
}

int CActiveSyncMsg::FindListRow(HWND list, const std::string& item) const {
    if (!list || item.empty()) return -1;
    int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    // One character more than item, so that a longer row text shows as longer.
    std::vector<char> text(item.size() + 2);
    for (int row = 0; row < rows; ++row) {
        LVITEMA cell = {};
        cell.iSubItem = 0;
        cell.pszText = text.data();
        cell.cchTextMax = static_cast<int>(text.size());
        int n = static_cast<int>(SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                                              reinterpret_cast<LPARAM>(&cell)));
        if (n == static_cast<int>(item.size()) && item.compare(0, item.size(), text.data(), item.size()) == 0)
            return row;
    }
    return -1;
}

}  // namespace vorlan
