#pragma once
// CPicture: a bitmap resource drawn on a window's device context in its own
// size, as a page paints it.
#include <windows.h>

namespace vorlan::filesync {

class CPicture {
public:
    // The bitmap id of module; one that cannot be loaded draws nothing.
    CPicture(HINSTANCE module, int bitmapId);
    ~CPicture();
    CPicture(const CPicture&) = delete;
    CPicture& operator=(const CPicture&) = delete;

    bool IsLoaded() const { return bitmap_ != nullptr; }
    // The bitmap's size in pixels; 0 by 0 when none is loaded.
    SIZE Size() const { return size_; }
    // Copies the bitmap with its top left corner at (x, y).
    void Draw(HDC dc, int x, int y) const;

private:
    HBITMAP bitmap_;
    SIZE size_ = {0, 0};
};

}  // namespace vorlan::filesync
