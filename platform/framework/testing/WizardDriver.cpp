#include "WizardDriver.h"

namespace vorlan::testing {
namespace {

// The sheet's own ids of its wizard buttons.
constexpr int kBackId = 0x3023;
constexpr int kNextId = 0x3024;
constexpr int kFinishId = 0x3025;

int ButtonId(int button) {
    switch (button) {
        case PSBTN_BACK: return kBackId;
        case PSBTN_NEXT: return kNextId;
        case PSBTN_FINISH: return kFinishId;
        case PSBTN_OK: return IDOK;
        case PSBTN_CANCEL: return IDCANCEL;
        default: return 0;
    }
}

bool Pressable(HWND button) { return button && IsWindowVisible(button) && IsWindowEnabled(button); }

}  // namespace

HWND ActiveSheetPage(HWND sheet) {
    return IsWindow(sheet) ? reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) : nullptr;
}

int ActiveSheetPageIndex(HWND sheet) {
    HWND page = ActiveSheetPage(sheet);
    return page ? static_cast<int>(SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0)) : -1;
}

DWORD ShownWizardButtons(HWND sheet) {
    DWORD shown = 0;
    if (Pressable(GetDlgItem(sheet, kBackId))) shown |= PSWIZB_BACK;
    if (Pressable(GetDlgItem(sheet, kNextId))) shown |= PSWIZB_NEXT;
    if (Pressable(GetDlgItem(sheet, kFinishId))) shown |= PSWIZB_FINISH;
    return shown;
}

bool PressWizardButton(HWND sheet, int button) {
    const int id = ButtonId(button);
    HWND control = id && IsWindow(sheet) ? GetDlgItem(sheet, id) : nullptr;
    if (!Pressable(control)) return false;
    // What a click sends; handled on the sheet's thread before it returns.
    SendMessageW(sheet, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    // A modal sheet looks at whether it has ended only when its loop takes
    // a posted message (a real click is one); a sent one does not wake it.
    PostMessageW(sheet, WM_NULL, 0, 0);
    return true;
}

}  // namespace vorlan::testing
