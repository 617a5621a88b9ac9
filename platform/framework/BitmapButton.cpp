#include "BitmapButton.h"

#include "Resources.h"

namespace vorlan {

BEGIN_MESSAGE_MAP(CBitmapButton, CWnd)
    ON_WM_DRAWITEM_REFLECT(OnDrawItem)
END_MESSAGE_MAP()

CBitmapButton::~CBitmapButton() { FreeBitmaps(); }

void CBitmapButton::FreeBitmaps() {
    for (HBITMAP& bitmap : bitmaps_) {
        if (bitmap) DeleteObject(bitmap);
        bitmap = nullptr;
    }
}

bool CBitmapButton::LoadBitmaps(const char* up, const char* down, const char* focus, const char* disabled,
                                HINSTANCE module) {
    FreeBitmaps();
    if (!module) module = AfxGetResourceHandle();
    const char* names[] = {up, down, focus, disabled};
    for (int i = 0; i < 4; ++i)
        if (names[i]) bitmaps_[i] = LoadBitmapA(module, names[i]);
    if (m_hWnd) InvalidateRect(m_hWnd, nullptr, TRUE);
    return bitmaps_[0] != nullptr;
}

bool CBitmapButton::AutoLoad(UINT id, CWnd* parent, const std::string& name) {
    if (!m_hWnd && !SubclassDlgItem(id, parent)) return false;
    LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    SetWindowLongPtrA(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    const std::string up = name + "U", down = name + "D", focus = name + "F", disabled = name + "X";
    if (!LoadBitmaps(up.c_str(), down.c_str(), focus.c_str(), disabled.c_str())) return false;
    SizeToContent();
    return true;
}

void CBitmapButton::SizeToContent() const {
    BITMAP info = {};
    if (!m_hWnd || !bitmaps_[0] || !GetObjectA(bitmaps_[0], sizeof info, &info)) return;
    SetWindowPos(m_hWnd, nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBITMAP CBitmapButton::Bitmap(int state) const {
    if (state >= 0 && state < 4 && bitmaps_[state]) return bitmaps_[state];
    return bitmaps_[0];
}

LRESULT CBitmapButton::OnDrawItem(WPARAM, LPARAM drawItem) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(drawItem);
    int state = 0;
    if (item->itemState & ODS_SELECTED) state = 1;
    else if (item->itemState & ODS_FOCUS) state = 2;
    if (item->itemState & ODS_DISABLED) state = 3;
    HBITMAP bitmap = Bitmap(state);
    if (!bitmap) return FALSE;
    HDC memory = CreateCompatibleDC(item->hDC);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    const RECT& r = item->rcItem;
    StretchBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, info.bmWidth,
               info.bmHeight, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    return TRUE;
}

}  // namespace vorlan
