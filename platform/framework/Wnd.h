#pragma once
// The window base of the application framework: a window is its HWND, kept
// public, and the class adds nothing the caller could not do with the handle.
#include <windows.h>

namespace vorlan {

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The child control id, or nullptr when there is none (or no window).
    HWND GetDlgItem(int id) const { return m_hWnd ? ::GetDlgItem(m_hWnd, id) : nullptr; }

    HWND m_hWnd = nullptr;
};

}  // namespace vorlan
