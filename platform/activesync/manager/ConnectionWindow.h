#pragma once
// The connection manager's window: hidden, titled "DccMan", owner of the
// tray icon 1 on which errors appear as balloons. Closing it ends the
// service manager.
#include <windows.h>

namespace vorlan::activesync {

inline constexpr UINT kTrayIconId = 1;

class ConnectionWindow {
public:
    ConnectionWindow() = default;
    ~ConnectionWindow();
    ConnectionWindow(const ConnectionWindow&) = delete;
    ConnectionWindow& operator=(const ConnectionWindow&) = delete;

    // Creates the window and adds its tray icon.
    bool Create(HINSTANCE instance);
    HWND Handle() const { return hWnd_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hWnd_ = nullptr;
    bool iconAdded_ = false;
};

}  // namespace vorlan::activesync
