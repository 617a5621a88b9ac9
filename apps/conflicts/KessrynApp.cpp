#include "KessrynApp.h"

#include "KessrynDlg.h"
#include "PageProgram.h"
#include "Resource.h"
#include "Resources.h"

namespace vorlan::conflicts {

BOOL CKessrynApp::InitInstance() { return RunPageProgram<CKessrynDlg>(*this, LoadResourceString(IDS_CAPTION)); }

}  // namespace vorlan::conflicts
