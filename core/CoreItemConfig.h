#pragma once
// CCoreItemConfig: one row of the component table "PlugInsCfg", edited
// through its InfoNode: the component's name, its plug-in, the URL of its
// table (relative to the table being edited, "QvMy_URL"), and the version,
// patch and always-synchronise fields that decide when it is sent again.
#include <memory>
#include <string>
#include <vector>

#include "Controls.h"
#include "Dialog.h"
#include "MessageMap.h"
#include "VorlanPropWrapper.h"
#include "pindrel.h"

namespace vorlan {

class CCoreItemConfig : public CDialog {
public:
    // node is the row; it is not owned and changes only after OK.
    explicit CCoreItemConfig(IInfoNode* node);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // A description object of every installed plug-in that could be made,
    // in the list's order.
    void FillPluginList();
    void ShowDescription();
    void EnableVersionFields();
    void OnTypeChanged() { ShowDescription(); }
    void OnAlwaysSyncClicked() { EnableVersionFields(); }
    void OnNameChanged();
    void OnUrlChanged();
    void OnBrowse();
    std::string Field(const char* key) const;
    HRESULT SetField(const char* key, const std::string& value) const;

    std::string name_;
    std::string url_;
    int alwaysSync_ = 1;
    double version_ = 1.0;
    int patch_ = 0;
    std::string originalVersion_;  // the row's own text, kept when not edited
    std::string shownVersion_;     // what the field showed for it
    std::vector<std::unique_ptr<CVorlanPropWrapper>> plugins_;
    IInfoNode* node_;
    CToolTipCtrl tips_;
    // The URL was empty when the dialog opened and the user has not set it:
    // the name fills it.
    bool urlFollowsName_ = false;
    bool fillingUrl_ = false;
    CComboBox type_;
    CEdit urlEdit_, versionEdit_, patchEdit_, nameEdit_;
    CButton alwaysSyncBox_;

    DECLARE_MESSAGE_MAP()
};

}  // namespace vorlan
