#include "Picture.h"

namespace vorlan::filesync {

CPicture::CPicture(HINSTANCE module, int bitmapId)
    : bitmap_(LoadBitmapA(module, MAKEINTRESOURCEA(bitmapId))) {
    BITMAP info = {};
    if (bitmap_ && GetObjectA(bitmap_, sizeof info, &info)) size_ = {info.bmWidth, info.bmHeight};
}

CPicture::~CPicture() {
    if (bitmap_) DeleteObject(bitmap_);
}

void CPicture::Draw(HDC dc, int x, int y) const {
    if (!bitmap_ || !dc) return;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return;
    HGDIOBJ previous = SelectObject(memory, bitmap_);
    BitBlt(dc, x, y, size_.cx, size_.cy, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

}  // namespace vorlan::filesync
