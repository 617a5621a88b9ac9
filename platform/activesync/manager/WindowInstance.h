#pragma once
// The object a window was created for: kept from WM_NCCREATE, where it came
// as the creation parameter, and handed back for every later message.
#include <windows.h>

namespace vorlan::activesync {

template <class T>
T* WindowInstance(HWND hWnd, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hWnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    return reinterpret_cast<T*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
}

}  // namespace vorlan::activesync
