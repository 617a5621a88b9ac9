#include "ProcessConfigDlg.h"

#include "DialogHelper.h"
#include "MessageBox.h"
#include "NodeFields.h"
#include "ProgramItem.h"
#include "RemoteBrowse.h"
#include "Resource.h"
#include "Resources.h"
#include "VorlanProperties.h"

namespace vorlan::processsync {
namespace {

constexpr int kPathBytes = 260;

}  // namespace

BEGIN_MESSAGE_MAP(CProcessConfigDlg, CDialog)
    ON_CONTROL(CBN_SELCHANGE, IDC_OPERATION, OnActionChanged)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CProcessConfigDlg::CProcessConfigDlg() : CDialog(IDD_PROGRAM_ITEM) {}

void CProcessConfigDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_OPERATION, actions_);
    if (!dx->m_bSaveAndValidate && actions_.GetCount() == 0) {
        for (const char* action : kActionKeywords) actions_.AddString(action);
    }
    DDX_CBIndex(dx, IDC_OPERATION, actionIndex);
    DDX_Text(dx, IDC_IDENTIFIER, identifier);
}

BOOL CProcessConfigDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The tips subclass their controls, so every mouse message reaches them.
    if (tips_.Create(this)) {
        tips_.AddTool(GetDlgItem(IDC_OPERATION), LoadResourceString(IDS_TIP_OPERATION));
        tips_.AddTool(GetDlgItem(IDC_IDENTIFIER), LoadResourceString(IDS_TIP_IDENTIFIER));
        tips_.Activate(TRUE);
    }
    OnActionChanged();
    return TRUE;
}

void CProcessConfigDlg::OnActionChanged() {
    const int index = actions_.GetCurSel();
    const bool listed = index >= 0 && index < kActionCount;
    CDialogHelper controls(this);
    controls.SetItemText(IDC_HELP_TEXT, listed ? LoadResourceString(IDS_HELP_FIRST + index) : "");
    if (listed) controls.SetItemText(IDC_IDENTIFIER_LABEL, LoadResourceString(IDS_LABEL_FIRST + index));
    // A window title is nothing to browse for.
    controls.EnableItem(IDC_BROWSE, index != kCloseWindow);
}

void CProcessConfigDlg::OnBrowse() {
    const int index = actions_.GetCurSel();
    std::string path;
    if (index == kLocalShellExec) {
        if (CDialogHelper(this).BrowseForFile({}, {}, {}, path, {}) != 1) return;
    } else if (index == kCreateWaitProcess || index == kCreateProcess) {
        char buffer[kPathBytes] = {};
        if (RapiFileBrowse(buffer, sizeof buffer, 1, nullptr, nullptr, nullptr) != IDOK) return;
        path = buffer;
    }
    if (!path.empty()) SetDlgItemTextA(m_hWnd, IDC_IDENTIFIER, path.c_str());
}

void CProcessConfigDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    if (identifier.empty()) {
        ShowMessageBox(m_hWnd, LoadResourceString(IDS_FIELDS_EMPTY), "Wendric", MB_OK | MB_ICONERROR);
        ::SetFocus(GetDlgItem(IDC_IDENTIFIER));
        return;
    }
    flagText = actions_.GetLBText(actionIndex);
    EndDialog(IDOK);
}

HRESULT ConfigureProgramItem(IInfoNode** node, VARIANT_BOOL) {
    if (!node || !*node) return E_POINTER;
    IInfoNode* item = *node;
    CProcessConfigDlg dialog;
    // The action the engine takes for the stored text, so OK keeps it.
    dialog.actionIndex = static_cast<int>(GetActionCode(GetNodeField(item, "Flag")));
    dialog.identifier = GetNodeField(item, "ProcessIdentifier");

    const INT_PTR answer = dialog.DoModal(GetActiveWindow());
    if (answer == -1) return E_FAIL;
    if (answer != IDOK) return kDialogCancelled;
    for (HRESULT hr : {SetNodeField(item, "Flag", dialog.flagText),
                       SetNodeField(item, "ProcessIdentifier", dialog.identifier)})
        if (FAILED(hr)) return hr;
    return S_OK;
}

}  // namespace vorlan::processsync
