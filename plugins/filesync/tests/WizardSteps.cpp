#include "WizardSteps.h"

#include "BrowseDriver.h"
#include "WizardDriver.h"

namespace vorlan::filesync::testing {
namespace {

// The pages in the order the sheet holds them.
constexpr int kPageTemplates[] = {107, 203, 204, 206, 205};

}  // namespace

using namespace vorlan::testing;

int ActivePage(HWND sheet) {
    const int index = ActiveSheetPageIndex(sheet);
    return index >= 0 && index < 5 ? kPageTemplates[index] : -1;
}

HWND PageWindow(HWND sheet) { return ActiveSheetPage(sheet); }

bool Press(HWND sheet, int button) { return PressWizardButton(sheet, button); }

void Choose(HWND sheet, int index) {
    HWND page = PageWindow(sheet);
    HWND list = GetDlgItem(page, 243);
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(243, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void Type(HWND sheet, int id, const std::string& text) { SetDlgItemTextA(PageWindow(sheet), id, text.c_str()); }

void ClickItem(HWND sheet, int id) {
    HWND item = GetDlgItem(PageWindow(sheet), id);
    SendMessageA(item, BM_CLICK, 0, 0);
}

std::string PageItemText(HWND sheet, int id) { return ItemText(PageWindow(sheet), id); }

bool ItemShown(HWND sheet, int id) { return IsWindowVisible(GetDlgItem(PageWindow(sheet), id)) != FALSE; }

bool ItemEnabled(HWND sheet, int id) { return IsWindowEnabled(GetDlgItem(PageWindow(sheet), id)) != FALSE; }

bool ItemChecked(HWND sheet, int id) { return IsDlgButtonChecked(PageWindow(sheet), id) == BST_CHECKED; }

void RemoveEveryRow(HWND sheet, int listId, int removeId) {
    HWND list = GetDlgItem(PageWindow(sheet), listId);
    LVITEMA state = {};
    state.stateMask = state.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    ClickItem(sheet, removeId);
}

void AddPattern(HWND sheet, int editId, int addId, const std::string& pattern) {
    Type(sheet, editId, pattern);
    ClickItem(sheet, addId);
}

DWORD Buttons(HWND sheet) { return ShownWizardButtons(sheet); }

}  // namespace vorlan::filesync::testing
