#pragma once
// CRegistryItemDlg: the registry item's dialog. The user picks the
// operation, types the key path and the value, and ticks whether it runs on
// the workstation; OK with an empty key says so and stays open.
#include <string>

#include "Controls.h"
#include "Dialog.h"
#include "infonode.h"

namespace vorlan::regsync {

class CRegistryItemDlg : public CDialog {
public:
    CRegistryItemDlg();

    std::string key;
    std::string value;
    int typeIndex = 2;  // in the list's order (RegistryItem.h)
    int local = BST_UNCHECKED;
    // The list's text of the chosen operation, set by OK.
    std::string typeText;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnTypeChanged();

private:
    CComboBox types_;
    CToolTipCtrl tips_;
    DECLARE_MESSAGE_MAP()
};

// IVorlanProperties::ConfigNodeDlg: the dialog over the item's Key, Value
// and Type; S_OK with the node rewritten after OK, 1223 after Cancel with
// the node as it was.
HRESULT ConfigureRegistryItem(IInfoNode** node, VARIANT_BOOL isNew);

}  // namespace vorlan::regsync
