#pragma once
// CProcessConfigDlg: the program item's dialog. The user picks the action
// and types (or browses for) the device program, window title or
// workstation command; OK with an empty identifier says so and stays open.
#include <string>

#include "Controls.h"
#include "Dialog.h"
#include "infonode.h"

namespace vorlan::processsync {

class CProcessConfigDlg : public CDialog {
public:
    CProcessConfigDlg();

    std::string identifier;
    int actionIndex = 3;  // in the list's order, which is the action codes' (ProgramItem.h)
    // The list's text of the chosen action, set by OK.
    std::string flagText;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnActionChanged();
    void OnBrowse();

private:
    CComboBox actions_;
    CToolTipCtrl tips_;
    DECLARE_MESSAGE_MAP()
};

// IVorlanProperties::ConfigNodeDlg: the dialog over the item's Flag and
// ProcessIdentifier; S_OK with the node rewritten after OK, 1223 after
// Cancel with the node as it was.
HRESULT ConfigureProgramItem(IInfoNode** node, VARIANT_BOOL isNew);

}  // namespace vorlan::processsync
