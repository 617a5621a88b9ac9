#include "VorlanTestApp.h"

#include <commctrl.h>

#include "Resource.h"
#include "RunnerCommandLine.h"
#include "VorlanTestDlg.h"

namespace vorlan::runner {

BOOL CVorlanTestApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    AfxOleInit();

    if (HWND first = FindRunnerWindow()) {
        SetWindowPos(first, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (HasSyncNowSwitch(m_lpCmdLine))
            PostMessageA(first, WM_COMMAND, MAKEWPARAM(IDC_SYNC, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(first, IDC_SYNC)));
        return FALSE;
    }

    CVorlanTestDlg dialog;
    m_pMainWnd = &dialog;
    dialog.SetCommandLine(m_lpCmdLine);
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

}  // namespace vorlan::runner
