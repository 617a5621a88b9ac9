#pragma once
// The notification area, where no shell provides one: the window that
// Shell_NotifyIcon talks to ("Shell_TrayWnd"). It keeps the icons that were
// added and journals each change and each balloon shown on them.
#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "Journal.h"

namespace vorlan::activesync {

class NotificationArea {
public:
    explicit NotificationArea(const Journal& journal) : journal_(journal) {}
    ~NotificationArea();
    NotificationArea(const NotificationArea&) = delete;
    NotificationArea& operator=(const NotificationArea&) = delete;

    // Creates the window unless a notification area exists already; false
    // only when it should have been created and could not be.
    bool Create(HINSTANCE instance);
    bool Owned() const { return hWnd_ != nullptr; }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnNotify(DWORD command, const COPYDATASTRUCT& data);

    const Journal& journal_;
    HWND hWnd_ = nullptr;
    std::map<std::pair<uint32_t, uint32_t>, std::wstring> icons_;  // (window, id) -> tip
};

}  // namespace vorlan::activesync
