#pragma once
// The synchronisation window (class "SyncMgrUI"), whose status line shows
// what the synchronising components report. The line is control 5023 of
// control 0xE900 of the child window titled "ViewTopPane"; every text it
// receives is journaled.
#include <windows.h>

#include "Journal.h"

namespace vorlan::activesync {

inline constexpr int kStatusPaneId = 0xE900;
inline constexpr int kStatusLineId = 5023;

class SyncWindow {
public:
    explicit SyncWindow(const Journal& journal) : journal_(journal) {}
    ~SyncWindow();
    SyncWindow(const SyncWindow&) = delete;
    SyncWindow& operator=(const SyncWindow&) = delete;

    // owner receives WM_CLOSE when this window is closed.
    bool Create(HINSTANCE instance, HWND owner);
    HWND Handle() const { return hWnd_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StatusLineProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    const Journal& journal_;
    HWND hWnd_ = nullptr;
    HWND owner_ = nullptr;
    WNDPROC staticProc_ = nullptr;
};

}  // namespace vorlan::activesync
