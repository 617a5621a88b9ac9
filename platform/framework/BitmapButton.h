#pragma once
// A push button drawn with bitmaps: one for up, and optionally one each
// for pressed, focused and disabled (missing ones fall back to up). The
// button is owner-drawn; it draws itself from the WM_DRAWITEM its parent
// reflects to it.
#include <windows.h>

#include <string>

#include "Wnd.h"

namespace vorlan {

class CBitmapButton : public CWnd {
public:
    CBitmapButton() = default;
    ~CBitmapButton() override;

    // Bitmaps by resource name from module (default: the current resource
    // module); false when the up bitmap is missing.
    bool LoadBitmaps(const char* up, const char* down = nullptr, const char* focus = nullptr,
                     const char* disabled = nullptr, HINSTANCE module = nullptr);
    // Ties the dialog's button id to this object, makes it owner-drawn and
    // loads "<name>U", "<name>D", "<name>F" and "<name>X" (the button's
    // name, usually its caption). False when the button or "<name>U" is
    // missing.
    bool AutoLoad(UINT id, CWnd* parent, const std::string& name);
    // Resizes the button to its up bitmap.
    void SizeToContent() const;

    // The bitmap drawn for a state: 0 up, 1 down, 2 focused, 3 disabled.
    HBITMAP Bitmap(int state) const;

protected:
    LRESULT OnDrawItem(WPARAM, LPARAM drawItem);

    DECLARE_MESSAGE_MAP()

private:
    void FreeBitmaps();
    HBITMAP bitmaps_[4] = {};
};

}  // namespace vorlan
