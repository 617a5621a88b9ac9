#pragma once
// Drives a running property sheet (the system's, as CPropertySheet shows
// it) from a test, from any thread: which page is active, which wizard
// buttons a user could press, and pressing them.
//
//   std::thread driver([&] {
//       HWND sheet = vorlan::testing::WaitForDialog("My Wizard");
//       vorlan::testing::PressWizardButton(sheet, PSBTN_NEXT);
//       int page = vorlan::testing::ActiveSheetPageIndex(sheet);
//   });
//   sheet.DoModal();   // on the test's own thread
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

namespace vorlan::testing {

// The active page's window and index; nullptr and -1 when there is none.
HWND ActiveSheetPage(HWND sheet);
int ActiveSheetPageIndex(HWND sheet);

// PSWIZB_BACK, PSWIZB_NEXT and PSWIZB_FINISH for the buttons that are
// shown and enabled.
DWORD ShownWizardButtons(HWND sheet);

// Presses PSBTN_BACK, PSBTN_NEXT, PSBTN_FINISH, PSBTN_OK or PSBTN_CANCEL as a click
// would, and returns once the sheet has handled it (the page changed,
// stayed or the sheet ended); false when the button is not there to press.
bool PressWizardButton(HWND sheet, int button);

}  // namespace vorlan::testing
