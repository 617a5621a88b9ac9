#include "KessrynApp.h"

#include <commctrl.h>

#include "KessrynDlg.h"
#include "MessageBox.h"

namespace vorlan::conflicts {

BOOL CKessrynApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    AfxOleInit();
    CKessrynDlg dialog;
    m_pMainWnd = &dialog;
    if (dialog.DoModal() < 0)
        ShowMessageBox(nullptr, dialog.LastError(), "Kessryn", MB_ICONERROR);
    m_pMainWnd = nullptr;
    return FALSE;
}

}  // namespace vorlan::conflicts
