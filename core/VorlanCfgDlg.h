#pragma once
// CVorlanCfgDlg: the core's options. The default project, how errors are
// shown, which front end runs when a device connects (the desktop provider,
// the runner Stelmar, or nothing), and clearing the two-way caches on
// desktop and device. Runs modally from a COM call in any host.
#include <string>

#include "Controls.h"
#include "Dialog.h"
#include "MessageMap.h"

namespace vorlan {

class CVorlanCfgDlg : public CDialog {
public:
    CVorlanCfgDlg();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Stores the settings; a write that fails is shown and the dialog stays.
    void OnOK() override;

private:
    void OnBrowse();
    void OnClearCache();
    // The writes of OnOK; false after the first that failed. runnerStarts
    // tells whether the runner could be registered for the connection.
    bool Store(bool& runnerStarts);

    int errorLevelIndex_ = -1;  // radio 1001, 1003, 1002: ErrorLevel 2, 1, 0
    std::string url_;
    int syncApp_ = 0;
    CEdit urlEdit_;
    CComboBox syncAppCombo_;

    DECLARE_MESSAGE_MAP()
};

}  // namespace vorlan
