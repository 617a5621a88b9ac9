#pragma once
// The file item wizard's sheet seen and driven as a user would, by
// messages from a thread other than the one running it.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>

namespace vorlan::filesync::testing {

// The template id of the active page (107, 203, 204, 206, 205).
int ActivePage(HWND sheet);
HWND PageWindow(HWND sheet);
// Next, Back or Finish pressed; false when the button was not there.
bool Press(HWND sheet, int button);
// The choice of the operation list, as picking it does.
void Choose(HWND sheet, int index);
// Text typed into an edit of the active page.
void Type(HWND sheet, int id, const std::string& text);
// A check box or button of the active page clicked.
void ClickItem(HWND sheet, int id);
std::string PageItemText(HWND sheet, int id);
bool ItemShown(HWND sheet, int id);
bool ItemEnabled(HWND sheet, int id);
bool ItemChecked(HWND sheet, int id);
// Every row of a list of the active page selected, then removeId clicked.
void RemoveEveryRow(HWND sheet, int listId, int removeId);
// A pattern typed into an edit of the folder page and added.
void AddPattern(HWND sheet, int editId, int addId, const std::string& pattern);
// The wizard buttons shown and enabled (PSWIZB_BACK, _NEXT, _FINISH).
DWORD Buttons(HWND sheet);

}  // namespace vorlan::filesync::testing
