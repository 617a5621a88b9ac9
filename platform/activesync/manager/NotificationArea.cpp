#include "NotificationArea.h"

#include <shellapi.h>

#include "Bstr.h"
#include "NotifyRecord.h"
#include "WindowInstance.h"

namespace vorlan::activesync {
namespace {

const char kClass[] = "Shell_TrayWnd";

std::string OwnerTitle(uint32_t window) {
    wchar_t title[256] = L"";
    GetWindowTextW(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(window)), title, 256);
    return com::AnsiFromWide(title);
}

}  // namespace

NotificationArea::~NotificationArea() {
    if (hWnd_) DestroyWindow(hWnd_);
}

bool NotificationArea::Create(HINSTANCE instance) {
    if (FindWindowA(kClass, nullptr)) return true;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    hWnd_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this);
    return hWnd_ != nullptr;
}

LRESULT CALLBACK NotificationArea::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = WindowInstance<NotificationArea>(hWnd, message, lParam);
    if (message == WM_COPYDATA && self) {
        const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        return self->OnNotify(static_cast<DWORD>(data.dwData), data);
    }
    if (message == WM_NCDESTROY && self) self->hWnd_ = nullptr;
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

BOOL NotificationArea::OnNotify(DWORD command, const COPYDATASTRUCT& data) {
    NotifyRecord record;
    if (!DecodeNotifyRecord(std::string_view(static_cast<const char*>(data.lpData), data.cbData), record))
        return FALSE;
    auto key = std::make_pair(record.window, record.id);
    auto icon = icons_.find(key);
    std::string owner = OwnerTitle(record.window), id = std::to_string(record.id);
    switch (command) {
        case NIM_ADD:
            if (icon != icons_.end()) return FALSE;
            icons_[key] = record.tip;
            journal_.Write({"icon", "add", owner, id, com::AnsiFromWide(record.tip)});
            return TRUE;
        case NIM_MODIFY:
            if (icon == icons_.end()) return FALSE;
            if (record.flags & NIF_TIP) icon->second = record.tip;
            if (record.flags & (NIF_TIP | NIF_ICON))
                journal_.Write({"icon", "modify", owner, id, com::AnsiFromWide(icon->second)});
            if (record.flags & NIF_INFO)
                journal_.Write({"balloon", owner, id, std::to_string(record.timeout),
                                com::AnsiFromWide(record.infoTitle), com::AnsiFromWide(record.info),
                                std::to_string(record.infoFlags)});
            return TRUE;
        case NIM_DELETE:
            if (icon == icons_.end()) return FALSE;
            icons_.erase(icon);
            journal_.Write({"icon", "delete", owner, id, ""});
            return TRUE;
        default:
            return icon != icons_.end();
    }
}

}  // namespace vorlan::activesync
