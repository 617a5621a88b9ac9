#include "ConnectionWindow.h"

#include <shellapi.h>

#include "ServiceManagerCommands.h"
#include "WindowInstance.h"

namespace vorlan::activesync {
namespace {

const wchar_t kClass[] = L"VorlanConnectionManager";
constexpr UINT kTrayMessage = WM_APP + 1;

NOTIFYICONDATAW IconRecord(HWND owner) {
    NOTIFYICONDATAW icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = owner;
    icon.uID = kTrayIconId;
    return icon;
}

}  // namespace

ConnectionWindow::~ConnectionWindow() {
    if (hWnd_) DestroyWindow(hWnd_);
}

bool ConnectionWindow::Create(HINSTANCE instance) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    hWnd_ = CreateWindowExW(0, kClass, L"DccMan", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, this);
    if (!hWnd_) return false;
    NOTIFYICONDATAW icon = IconRecord(hWnd_);
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = kTrayMessage;
    icon.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    lstrcpynW(icon.szTip, L"ActiveSync", ARRAYSIZE(icon.szTip));
    iconAdded_ = Shell_NotifyIconW(NIM_ADD, &icon) != FALSE;
    return iconAdded_;
}

LRESULT CALLBACK ConnectionWindow::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowInstance<ConnectionWindow>(hWnd, message, lParam);
    switch (message) {
        case kDeviceConnectedMessage:
        case kSynchronizeMessage:
        case kShowOptionsMessage:
        case kDeviceDisconnectedMessage:
            return self && self->commands_ ? self->commands_(message) : E_UNEXPECTED;
        case WM_DESTROY:
            if (self && self->iconAdded_) {
                NOTIFYICONDATAW icon = IconRecord(hWnd);
                Shell_NotifyIconW(NIM_DELETE, &icon);
                self->iconAdded_ = false;
            }
            PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            if (self) self->hWnd_ = nullptr;
            break;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

}  // namespace vorlan::activesync
