#include "ItemDialog.h"

#include <string>

#include "Bstr.h"
#include "Dialog.h"
#include "MessageBox.h"
#include "RecorderEngine.h"
#include "VorlanProperties.h"

namespace vorlan::recorder {
namespace {

using com::Bstr;

std::string Field(IInfoNode* item, const wchar_t* name) {
    Bstr value;
    item->GetProperty(Bstr(name).Get(), value.Put());
    return value.Ansi();
}

class CItemDialog : public CDialog {
public:
    explicit CItemDialog(IInfoNode* item)
        : CDialog(kItemDialogId), name_(Field(item, L"Name")), value_(Field(item, L"Value")) {}

    const std::string& Name() const { return name_; }
    const std::string& Value() const { return value_; }

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, kNameEditId, name_);
        DDX_Text(dx, kValueEditId, value_);
    }
    void OnOK() override {
        if (!UpdateData(TRUE)) return;
        if (name_.empty()) {
            ShowMessageBox(m_hWnd, "Fields cannot be empty.", "Recorder", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        EndDialog(IDOK);
    }

private:
    std::string name_;
    std::string value_;
};

}  // namespace

HRESULT ShowItemDialog(IInfoNode** item, VARIANT_BOOL) {
    if (!item || !*item) return E_POINTER;
    // What the host handed over: the table's URL, for relative paths.
    Journal("ConfigNodeDlg " + Field(*item, L"QvMy_URL"));
    char shown[8] = {};
    if (!GetEnvironmentVariableA("VORLAN_RECORDER_DIALOG", shown, sizeof shown)) return kDialogCancelled;
    CItemDialog dialog(*item);
    const INT_PTR answer = dialog.DoModal(GetActiveWindow());
    if (answer == -1) return E_FAIL;
    if (answer != IDOK) return kDialogCancelled;
    HRESULT hr = (*item)->SetAt(Bstr(L"Name").Get(), Bstr::FromAnsi(dialog.Name()).Get());
    if (SUCCEEDED(hr)) hr = (*item)->SetAt(Bstr(L"Value").Get(), Bstr::FromAnsi(dialog.Value()).Get());
    return FAILED(hr) ? hr : S_OK;
}

}  // namespace vorlan::recorder
