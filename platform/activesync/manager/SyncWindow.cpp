#include "SyncWindow.h"

#include <string>

#include "Bstr.h"
#include "WindowInstance.h"

namespace vorlan::activesync {
namespace {

const wchar_t kClass[] = L"SyncMgrUI";
const wchar_t kSelf[] = L"VorlanSyncWindow";

}  // namespace

SyncWindow::~SyncWindow() {
    if (hWnd_) DestroyWindow(hWnd_);
}

bool SyncWindow::Create(HINSTANCE instance, HWND owner) {
    owner_ = owner;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    hWnd_ = CreateWindowExW(0, kClass, L"ActiveSync", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 420, 160,
                            nullptr, nullptr, instance, this);
    if (!hWnd_) return false;
    HWND pane = CreateWindowExW(0, L"STATIC", L"ViewTopPane", WS_CHILD | WS_VISIBLE, 0, 0, 400, 60, hWnd_, nullptr,
                                instance, nullptr);
    HWND holder = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 400, 60, pane,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusPaneId)), instance, nullptr);
    HWND line = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 8, 20, 384, 20, holder,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusLineId)), instance, nullptr);
    if (!pane || !holder || !line) return false;
    SetPropW(line, kSelf, this);
    staticProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(line, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StatusLineProc)));
    ShowWindow(hWnd_, SW_SHOWNOACTIVATE);
    return true;
}

LRESULT CALLBACK SyncWindow::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowInstance<SyncWindow>(hWnd, message, lParam);
    if (message == WM_CLOSE && self && self->owner_) {
        PostMessageW(self->owner_, WM_CLOSE, 0, 0);
        return 0;
    }
    if (message == WM_NCDESTROY && self) self->hWnd_ = nullptr;
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK SyncWindow::StatusLineProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<SyncWindow*>(GetPropW(hWnd, kSelf));
    if (!self) return DefWindowProcW(hWnd, message, wParam, lParam);
    if (message == WM_SETTEXT && lParam)
        self->journal_.Write({"status", com::AnsiFromWide(reinterpret_cast<const wchar_t*>(lParam))});
    WNDPROC original = self->staticProc_;
    if (message == WM_NCDESTROY) RemovePropW(hWnd, kSelf);
    return CallWindowProcW(original, hWnd, message, wParam, lParam);
}

}  // namespace vorlan::activesync
