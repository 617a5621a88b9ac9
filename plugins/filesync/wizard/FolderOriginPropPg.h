#pragma once
// CFolderOriginPropPg: the origin folder of a folder operation and its two
// filter lists, which take patterns typed, dropped as text, or dragged from
// the other list.
#include "FileWizardPage.h"
#include "FilterListCtrl.h"
#include "FilterListDropTarget.h"

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
    void OnBeginDragInclude(NMHDR* header, LRESULT* result);
    void OnBeginDragExclude(NMHDR* header, LRESULT* result);

private:
    // Adds the edit's pattern to the list, or says why not.
    void AddPattern(int editId, const CFilterListCtrl& list) const;
    // The selected rows dragged out of the list as text; moved ones go.
    static void DragRows(const CFilterListCtrl& list);

    CFilterListCtrl include_;
    CFilterListCtrl exclude_;
    COleDropTargetSimpleListCtrl includeDrop_;
    COleDropTargetSimpleListCtrl excludeDrop_;
    DECLARE_MESSAGE_MAP()
};

}  // namespace vorlan::filesync
