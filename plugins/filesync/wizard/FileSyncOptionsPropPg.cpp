#include "FileSyncOptionsPropPg.h"

#include "Resource.h"

namespace vorlan::filesync {

CFileSyncOptionsPropPg::CFileSyncOptionsPropPg(FileItemPages& values) : CFileWizardPage(IDD_FILE_SYNC_OPTIONS, values) {}

void CFileSyncOptionsPropPg::DoDataExchange(CDataExchange* dx) {
    ExchangeCheck(dx, IDC_NEVER_DELETE, Values().neverDelete);
    // The group runs manual, device wins, workstation wins: the rule's values.
    DDX_Radio(dx, IDC_CONFLICT_MANUAL, Values().conflict);
}

BOOL CFileSyncOptionsPropPg::OnSetActive() {
    SetWizardButtons(PSWIZB_BACK | PSWIZB_FINISH);
    return CFileWizardPage::OnSetActive();
}

}  // namespace vorlan::filesync
