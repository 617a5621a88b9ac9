#include "YarrowinApp.h"

#include "PageProgram.h"
#include "Resource.h"
#include "Resources.h"
#include "YarrowinDlg.h"

namespace vorlan::deviceview {

BOOL CYarrowinApp::InitInstance() { return RunPageProgram<CYarrowinDlg>(*this, LoadResourceString(IDS_CAPTION)); }

}  // namespace vorlan::deviceview
