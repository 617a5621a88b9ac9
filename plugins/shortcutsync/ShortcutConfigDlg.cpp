#include "ShortcutConfigDlg.h"

#include "MessageBox.h"
#include "NodeFields.h"
#include "RemoteBrowse.h"
#include "Resource.h"
#include "Resources.h"
#include "VorlanProperties.h"

namespace vorlan::shortcutsync {
namespace {

constexpr int kPathBytes = 260;

}  // namespace

BEGIN_MESSAGE_MAP(CShortcutConfigDlg, CDialog)
    ON_BN_CLICKED(IDC_BROWSE_DESTINATION, OnBrowseDestination)
    ON_BN_CLICKED(IDC_BROWSE_TARGET, OnBrowseTarget)
END_MESSAGE_MAP()

CShortcutConfigDlg::CShortcutConfigDlg() : CDialog(IDD_SHORTCUT_ITEM) {}

void CShortcutConfigDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_DISPLAY_NAME, displayName);
    DDX_Text(dx, IDC_DESTINATION, destination);
    DDX_Text(dx, IDC_TARGET, target);
}

BOOL CShortcutConfigDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The tips subclass their controls, so every mouse message reaches them.
    if (tips_.Create(this)) {
        const struct {
            int control;
            UINT text;
        } tools[] = {{IDC_DISPLAY_NAME, IDS_TIP_NAME}, {IDC_DESTINATION, IDS_TIP_DESTINATION},
                     {IDC_TARGET, IDS_TIP_TARGET}};
        for (const auto& tool : tools) tips_.AddTool(GetDlgItem(tool.control), LoadResourceString(tool.text));
        tips_.Activate(TRUE);
    }
    return TRUE;
}

void CShortcutConfigDlg::OnBrowseDestination() {
    char buffer[kPathBytes] = {};
    if (RapiFolderBrowse(buffer, sizeof buffer, 1, nullptr, nullptr, nullptr) == IDOK)
        SetDlgItemTextA(m_hWnd, IDC_DESTINATION, buffer);
}

void CShortcutConfigDlg::OnBrowseTarget() {
    char buffer[kPathBytes] = {};
    if (RapiFileBrowse(buffer, sizeof buffer, 1, nullptr, nullptr, nullptr) == IDOK)
        SetDlgItemTextA(m_hWnd, IDC_TARGET, buffer);
}

void CShortcutConfigDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    for (const auto& [id, text] : {std::pair{IDC_DISPLAY_NAME, &displayName}, std::pair{IDC_DESTINATION, &destination},
                                   std::pair{IDC_TARGET, &target}}) {
        if (!text->empty()) continue;
        ShowMessageBox(m_hWnd, LoadResourceString(IDS_FIELDS_EMPTY), "Quorran", MB_OK | MB_ICONERROR);
        ::SetFocus(GetDlgItem(id));
        return;
    }
    EndDialog(IDOK);
}

HRESULT ConfigureShortcutItem(IInfoNode** node, VARIANT_BOOL) {
    if (!node || !*node) return E_POINTER;
    IInfoNode* item = *node;
    CShortcutConfigDlg dialog;
    dialog.displayName = GetNodeField(item, "DisplayName");
    dialog.destination = GetNodeField(item, "Destination");
    dialog.target = GetNodeField(item, "Target");

    const INT_PTR answer = dialog.DoModal(GetActiveWindow());
    if (answer == -1) return E_FAIL;
    if (answer != IDOK) return kDialogCancelled;
    for (HRESULT hr : {SetNodeField(item, "DisplayName", dialog.displayName),
                       SetNodeField(item, "Destination", dialog.destination),
                       SetNodeField(item, "Target", dialog.target)})
        if (FAILED(hr)) return hr;
    return S_OK;
}

}  // namespace vorlan::shortcutsync
