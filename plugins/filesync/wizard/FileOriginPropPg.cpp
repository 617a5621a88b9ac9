#include "FileOriginPropPg.h"

#include <shlwapi.h>

#include "AutoComplete.h"
#include "Resource.h"

namespace vorlan::filesync {
namespace {

const int kDownloadOptions[] = {IDC_TRANSFER_LABEL, IDC_TRANSFER_RULE, IDC_BINARY, IDC_ASCII, IDC_DONT_CACHE,
                                IDC_IGNORE_CACHE, IDC_HTTP_LABEL, IDC_HTTP_RULE, IDC_SECURE, IDC_FTP_LABEL,
                                IDC_FTP_RULE, IDC_PASSIVE, IDC_REUSE_CONNECTION, 0};
const int kGeneralOptions[] = {IDC_BINARY, IDC_ASCII, IDC_DONT_CACHE, IDC_IGNORE_CACHE, 0};
const int kFtpOptions[] = {IDC_PASSIVE, IDC_REUSE_CONNECTION, 0};
const int kHttpOptions[] = {IDC_SECURE, 0};

}  // namespace

BEGIN_MESSAGE_MAP(CFileOriginPropPg, CFileWizardPage)
    ON_EN_CHANGE(IDC_ORIGIN, OnOriginChanged)
    ON_BN_CLICKED(IDC_BROWSE_ORIGIN, OnBrowse)
END_MESSAGE_MAP()

CFileOriginPropPg::CFileOriginPropPg(FileItemPages& values) : CFileWizardPage(IDD_FILE_ORIGIN, values) {}

void CFileOriginPropPg::DoDataExchange(CDataExchange* dx) {
    FileItemPages& v = Values();
    DDX_Text(dx, IDC_ORIGIN, v.origin);
    int transfer = v.ascii ? 1 : 0;  // the group starts with binary
    DDX_Radio(dx, IDC_BINARY, transfer);
    if (dx->m_bSaveAndValidate) v.ascii = transfer == 1;
    ExchangeCheck(dx, IDC_DONT_CACHE, v.dontCache);
    ExchangeCheck(dx, IDC_IGNORE_CACHE, v.ignoreCache);
    ExchangeCheck(dx, IDC_SECURE, v.secure);
    ExchangeCheck(dx, IDC_PASSIVE, v.passive);
    ExchangeCheck(dx, IDC_REUSE_CONNECTION, v.reuseConnection);
}

BOOL CFileOriginPropPg::OnSetActive() {
    const int index = Operation();
    SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    Helper().SetItemText(IDC_ORIGIN_LABEL, Text(OriginLabel(index)));
    Helper().ShowItems(kDownloadOptions, ShowsDownloadOptions(index));
    // The shell's completion stays once set: the first kind the page needs.
    const OriginCompletion completion = OriginCompletionAt(index);
    if (!completing_ && completion != OriginCompletion::kNone) {
        HWND edit = GetDlgItem(IDC_ORIGIN);
        completing_ = SUCCEEDED(completion == OriginCompletion::kShellDefault ? EnableShellAutoComplete(edit)
                                                                               : SHAutoComplete(edit, SHACF_FILESYSTEM));
    }
    const BOOL result = CFileWizardPage::OnSetActive();
    FollowOriginKind();
    return result;
}

LRESULT CFileOriginPropPg::OnWizardNext() {
    if (!IsGoodOrigin(Operation(), Values().origin, Values().tableUrl, UrlKinds())) {
        Refuse(IDS_MALFORMED_PATH);
        return -1;
    }
    return IDD_FILE_DESTINATION;
}

void CFileOriginPropPg::OnOriginChanged() { FollowOriginKind(); }

void CFileOriginPropPg::OnBrowse() { BrowseInto(IDC_ORIGIN, OriginOnDeviceAt(Operation()), false); }

void CFileOriginPropPg::FollowOriginKind() {
    const DownloadOptionStates states = DownloadOptionsFor(KindOf(ItemText(IDC_ORIGIN)));
    Helper().EnableItems(kGeneralOptions, states.general);
    Helper().EnableItems(kFtpOptions, states.ftp);
    Helper().EnableItems(kHttpOptions, states.http);
    if (states.clearFtp) Helper().CheckItems(kFtpOptions, BST_UNCHECKED);
    if (states.clearHttp) Helper().CheckItems(kHttpOptions, BST_UNCHECKED);
    if (states.setSecure) Helper().CheckItem(IDC_SECURE, states.secure ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace vorlan::filesync
