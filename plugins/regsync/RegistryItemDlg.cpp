#include "RegistryItemDlg.h"

#include "MessageBox.h"
#include "NodeFields.h"
#include "RegistryItem.h"
#include "Resource.h"
#include "Resources.h"
#include "VorlanProperties.h"
#include "infonode.h"

namespace vorlan::regsync {
namespace {

// The help text of each entry of the type list, in its order.
constexpr UINT kHelpTexts[kDialogTypeCount] = {IDS_HELP_BINARY,        IDS_HELP_DWORD,        IDS_HELP_STRING,
                                               IDS_HELP_EXPAND_STRING, IDS_HELP_DELETE_KEY,   IDS_HELP_DELETE_VALUE,
                                               IDS_HELP_MULTI_STRING};

}  // namespace

BEGIN_MESSAGE_MAP(CRegistryItemDlg, CDialog)
    ON_CONTROL(CBN_SELCHANGE, IDC_TYPE, OnTypeChanged)
END_MESSAGE_MAP()

CRegistryItemDlg::CRegistryItemDlg() : CDialog(IDD_REGISTRY_ITEM) {}

void CRegistryItemDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_TYPE, types_);
    if (!dx->m_bSaveAndValidate && types_.GetCount() == 0) {
        for (const char* type : kDialogTypes) types_.AddString(type);
    }
    DDX_CBIndex(dx, IDC_TYPE, typeIndex);
    DDX_Text(dx, IDC_KEY, key);
    DDX_Text(dx, IDC_VALUE, value);
    DDX_Check(dx, IDC_LOCAL, local);
}

BOOL CRegistryItemDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The tips subclass their controls, so every mouse message reaches them.
    if (tips_.Create(this)) {
        const struct {
            int control;
            UINT text;
        } tools[] = {{IDC_TYPE, IDS_TIP_TYPE}, {IDC_KEY, IDS_TIP_KEY}, {IDC_VALUE, IDS_TIP_VALUE},
                     {IDC_LOCAL, IDS_TIP_LOCAL}};
        for (const auto& tool : tools) tips_.AddTool(GetDlgItem(tool.control), LoadResourceString(tool.text));
        tips_.Activate(TRUE);
    }
    OnTypeChanged();
    return TRUE;
}

void CRegistryItemDlg::OnTypeChanged() {
    const int index = types_.GetCurSel();
    const bool listed = index >= 0 && index < kDialogTypeCount;
    SetDlgItemTextA(m_hWnd, IDC_DESCRIPTION, listed ? LoadResourceString(kHelpTexts[index]).c_str() : "");
    ::EnableWindow(GetDlgItem(IDC_VALUE), index != kDialogDeleteKey && index != kDialogDeleteValue);
}

void CRegistryItemDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    if (key.empty()) {
        ShowMessageBox(m_hWnd, LoadResourceString(IDS_FIELDS_EMPTY), "Tolvane", MB_OK | MB_ICONERROR);
        ::SetFocus(GetDlgItem(IDC_KEY));
        return;
    }
    typeText = types_.GetLBText(typeIndex);
    EndDialog(IDOK);
}

HRESULT ConfigureRegistryItem(IInfoNode** node, VARIANT_BOOL) {
    if (!node || !*node) return E_POINTER;
    IInfoNode* item = *node;
    CRegistryItemDlg dialog;
    dialog.key = GetNodeField(item, "Key");
    dialog.value = GetNodeField(item, "Value");
    const uint32_t code = GetOperationCode(GetNodeField(item, "Type"));
    dialog.typeIndex = DialogIndexOf(code);
    dialog.local = IsLocal(code) ? BST_CHECKED : BST_UNCHECKED;

    const INT_PTR answer = dialog.DoModal(GetActiveWindow());
    if (answer == -1) return E_FAIL;
    if (answer != IDOK) return kDialogCancelled;
    const bool deletes = dialog.typeIndex == kDialogDeleteKey || dialog.typeIndex == kDialogDeleteValue;
    const std::string type = DialogTypeText(dialog.typeText, dialog.local == BST_CHECKED);
    for (HRESULT hr : {SetNodeField(item, "Key", dialog.key), SetNodeField(item, "Value", deletes ? "" : dialog.value),
                       SetNodeField(item, "Type", type)})
        if (FAILED(hr)) return hr;
    return S_OK;
}

}  // namespace vorlan::regsync
