#pragma once
// A program that is one page shown modally and ends when it closes (the
// conflict manager, the device viewer): its application object's
// InitInstance is
//
//   BOOL CMyApp::InitInstance() { return RunPageProgram<CMyDlg>(*this, LoadResourceString(IDS_CAPTION)); }
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "MessageBox.h"
#include "WinApp.h"

namespace vorlan {

// Starts what every page needs (common controls, OLE), shows a Page modally
// as the program's main window, and says under errorCaption why a page
// that could not be shown was not. FALSE: the program ends then.
template <class Page>
BOOL RunPageProgram(CWinApp& app, const std::string& errorCaption) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    AfxOleInit();
    Page page;
    app.m_pMainWnd = &page;
    if (page.DoModal() < 0) ShowMessageBox(nullptr, page.LastError(), errorCaption, MB_ICONERROR);
    app.m_pMainWnd = nullptr;
    return FALSE;
}

}  // namespace vorlan
