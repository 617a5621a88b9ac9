#pragma once
// The connection manager's window: hidden, titled "DccMan", owner of the
// tray icon 1 on which errors appear as balloons, and the window that
// receives the service manager's commands (ServiceManagerCommands.h).
// Closing it ends the service manager.
#include <windows.h>

#include <functional>

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
    // Carries out a command message and answers its HRESULT.
    using CommandHandler = std::function<HRESULT(UINT message)>;
    void SetCommandHandler(CommandHandler handler) { commands_ = std::move(handler); }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hWnd_ = nullptr;
    bool iconAdded_ = false;
    CommandHandler commands_;
};

}  // namespace vorlan::activesync
