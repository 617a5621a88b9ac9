#pragma once
// CFolderOriginPropPg: the origin folder of a folder operation and its two
// filter lists, which take patterns typed, dropped as text, or dragged from
// the other list.
#include "FileWizardPage.h"
#include "FilterListCtrl.h"

namespace vorlan::filesync {

class CFolderOriginPropPg : public CFileWizardPage {
public:
    explicit CFolderOriginPropPg(FileItemPages& values);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    LRESULT OnWizardNext() override;
    void OnIncludeEditChanged();
    void OnExcludeEditChanged();
    void OnIncludeAdd();
    void OnExcludeAdd();
    void OnIncludeRemove();
    void OnExcludeRemove();
    void OnBrowse();

private:
    // Adds the edit's pattern to the list, or says why not.
    void AddPattern(int editId, const CFilterListCtrl& list) const;

    CFilterListCtrl include_;
    CFilterListCtrl exclude_;
    DECLARE_MESSAGE_MAP()
};

}  // namespace vorlan::filesync
