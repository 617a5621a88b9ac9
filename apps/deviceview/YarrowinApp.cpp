#include "YarrowinApp.h"

#include <commctrl.h>

#include "MessageBox.h"
#include "Resource.h"
#include "Resources.h"
#include "YarrowinDlg.h"

namespace vorlan::deviceview {

BOOL CYarrowinApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    AfxOleInit();
    CYarrowinDlg dialog;
    m_pMainWnd = &dialog;
    if (dialog.DoModal() < 0)
        ShowMessageBox(nullptr, dialog.LastError(), LoadResourceString(IDS_CAPTION), MB_ICONERROR);
    m_pMainWnd = nullptr;
    return FALSE;
}

}  // namespace vorlan::deviceview
