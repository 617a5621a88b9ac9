#include "FileDestinyProgPg.h"

#include "Resource.h"

namespace vorlan::filesync {
namespace {

const int kAttributeGroup[] = {IDC_ATTRIBUTES_LABEL, IDC_ATTRIBUTES_RULE, IDC_ATTRIBUTES_PICTURE, IDC_PRESERVE,
                               IDC_NORMAL, IDC_HIDDEN, IDC_READONLY, IDC_ARCHIVE, IDC_SYSTEM, IDC_TEMPORARY, 0};
const int kAttributeBoxes[] = {IDC_NORMAL, IDC_HIDDEN, IDC_READONLY, IDC_ARCHIVE, IDC_SYSTEM, IDC_TEMPORARY, 0};

}  // namespace

BEGIN_MESSAGE_MAP(CFileDestinyProgPg, CFileWizardPage)
    ON_BN_CLICKED(IDC_PRESERVE, OnPreserveClicked)
    ON_BN_CLICKED(IDC_BROWSE_DESTINATION, OnBrowse)
END_MESSAGE_MAP()

CFileDestinyProgPg::CFileDestinyProgPg(FileItemPages& values) : CFileWizardPage(IDD_FILE_DESTINATION, values) {}

void CFileDestinyProgPg::DoDataExchange(CDataExchange* dx) {
    FileItemPages& v = Values();
    DDX_Text(dx, IDC_DESTINATION, v.destination);
    ExchangeCheck(dx, IDC_PRESERVE, v.preserve);
    ExchangeCheck(dx, IDC_NORMAL, v.normal);
    ExchangeCheck(dx, IDC_HIDDEN, v.hidden);
    ExchangeCheck(dx, IDC_READONLY, v.readOnly);
    ExchangeCheck(dx, IDC_ARCHIVE, v.archive);
    ExchangeCheck(dx, IDC_SYSTEM, v.system);
    ExchangeCheck(dx, IDC_TEMPORARY, v.temporary);
}

BOOL CFileDestinyProgPg::OnSetActive() {
    const int index = Operation();
    SetWizardButtons(PSWIZB_BACK | (HasOptionsPage(index) ? PSWIZB_NEXT : PSWIZB_FINISH));
    const BOOL result = CFileWizardPage::OnSetActive();
    Helper().SetItemText(IDC_DESTINATION_LABEL, Text(DestinationLabel(index)));
    Helper().ShowItems(kAttributeGroup, ShowsAttributes(index));
    // A download has no original attributes to keep.
    const bool preserveAllowed = PreserveAllowed(index, KindOf(Values().origin));
    if (!preserveAllowed) Helper().CheckItem(IDC_PRESERVE, BST_UNCHECKED);
    Helper().EnableItem(IDC_PRESERVE, preserveAllowed);
    EnableAttributes();
    return result;
}

LRESULT CFileDestinyProgPg::OnWizardNext() { return AcceptDestination() ? IDD_FILE_SYNC_OPTIONS : -1; }

BOOL CFileDestinyProgPg::OnWizardFinish() { return AcceptDestination() ? TRUE : FALSE; }

void CFileDestinyProgPg::OnPreserveClicked() { EnableAttributes(); }

void CFileDestinyProgPg::OnBrowse() {
    BrowseInto(IDC_DESTINATION, DestinationOnDeviceAt(Operation()), DestinationIsFolderAt(Operation()));
}

bool CFileDestinyProgPg::AcceptDestination() const {
    if (IsGoodDestination(Operation(), Values().destination, Values().tableUrl, UrlKinds())) return true;
    Refuse(IDS_MALFORMED_PATH);
    return false;
}

void CFileDestinyProgPg::EnableAttributes() const {
    const bool preserve = IsDlgButtonChecked(m_hWnd, IDC_PRESERVE) == BST_CHECKED;
    Helper().EnableItems(kAttributeBoxes, !preserve);
}

}  // namespace vorlan::filesync
