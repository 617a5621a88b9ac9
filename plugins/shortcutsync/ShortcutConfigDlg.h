#pragma once
// CShortcutConfigDlg: the shortcut item's dialog. The user types (or
// browses the device for) the link's name, folder and target; OK with any
// of them empty says so and stays open.
#include <string>

#include "Controls.h"
#include "Dialog.h"
#include "infonode.h"

namespace vorlan::shortcutsync {

class CShortcutConfigDlg : public CDialog {
public:
    CShortcutConfigDlg();

    std::string displayName;
    std::string destination;
    std::string target;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnBrowseDestination();
    void OnBrowseTarget();

private:
    CToolTipCtrl tips_;
    DECLARE_MESSAGE_MAP()
};

// IVorlanProperties::ConfigNodeDlg: the dialog over the item's
// DisplayName, Destination and Target; S_OK with the node rewritten after
// OK, 1223 after Cancel with the node as it was.
HRESULT ConfigureShortcutItem(IInfoNode** node, VARIANT_BOOL isNew);

}  // namespace vorlan::shortcutsync
