#include "FolderOriginPropPg.h"

#include <shlwapi.h>

#include "FilterRows.h"
#include "OleDataSource.h"
#include "Resource.h"

namespace vorlan::filesync {

BEGIN_MESSAGE_MAP(CFolderOriginPropPg, CFileWizardPage)
    ON_EN_CHANGE(IDC_INCLUDE_EDIT, OnIncludeEditChanged)
    ON_EN_CHANGE(IDC_EXCLUDE_EDIT, OnExcludeEditChanged)
    ON_BN_CLICKED(IDC_INCLUDE_ADD, OnIncludeAdd)
    ON_BN_CLICKED(IDC_EXCLUDE_ADD, OnExcludeAdd)
    ON_BN_CLICKED(IDC_INCLUDE_REMOVE, OnIncludeRemove)
    ON_BN_CLICKED(IDC_EXCLUDE_REMOVE, OnExcludeRemove)
    ON_BN_CLICKED(IDC_BROWSE_ORIGIN, OnBrowse)
    ON_NOTIFY(LVN_BEGINDRAG, IDC_INCLUDE_LIST, OnBeginDragInclude)
    ON_NOTIFY(LVN_BEGINDRAG, IDC_EXCLUDE_LIST, OnBeginDragExclude)
END_MESSAGE_MAP()

CFolderOriginPropPg::CFolderOriginPropPg(FileItemPages& values)
    : CFileWizardPage(IDD_FOLDER_ORIGIN, values),
      includeDrop_(include_, [this] { Refuse(IDS_FILTER_SEPARATOR); }),
      excludeDrop_(exclude_, [this] { Refuse(IDS_FILTER_SEPARATOR); }) {}

void CFolderOriginPropPg::DoDataExchange(CDataExchange* dx) {
    FileItemPages& v = Values();
    DDX_Text(dx, IDC_ORIGIN, v.folderOrigin);
    if (dx->m_bSaveAndValidate) {
        v.inclusion = include_.Rows();
        v.exclusion = exclude_.Rows();
    } else {
        include_.SetRows(v.inclusion);
        exclude_.SetRows(v.exclusion);
    }
}

BOOL CFolderOriginPropPg::OnInitDialog() {
    include_.SubclassDlgItem(IDC_INCLUDE_LIST, this);
    exclude_.SubclassDlgItem(IDC_EXCLUDE_LIST, this);
    include_.Prepare();
    exclude_.Prepare();
    // Without OLE on the thread (a caller in a multi-threaded apartment)
    // the lists take no drops and work on without.
    includeDrop_.Register(&include_);
    excludeDrop_.Register(&exclude_);
    // Folders are on the file system only; a completion that fails leaves
    // the edit as it is.
    SHAutoComplete(GetDlgItem(IDC_ORIGIN), SHACF_FILESYSTEM);
    return CFileWizardPage::OnInitDialog();
}

BOOL CFolderOriginPropPg::OnSetActive() {
    SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
    Helper().SetItemText(IDC_ORIGIN_LABEL, Text(FolderLabel(Operation())));
    const BOOL result = CFileWizardPage::OnSetActive();
    OnIncludeEditChanged();
    OnExcludeEditChanged();
    return result;
}

LRESULT CFolderOriginPropPg::OnWizardNext() {
    if (!IsGoodFolderOrigin(Operation(), Values().folderOrigin, Values().tableUrl, UrlKinds())) {
        Refuse(IDS_MALFORMED_PATH);
        return -1;
    }
    if (Values().inclusion.empty()) {
        Refuse(IDS_EMPTY_INCLUDE_LIST);
        return -1;
    }
    return IDD_FILE_DESTINATION;
}

void CFolderOriginPropPg::OnIncludeEditChanged() {
    Helper().EnableItem(IDC_INCLUDE_ADD, !ItemText(IDC_INCLUDE_EDIT).empty());
}

void CFolderOriginPropPg::OnExcludeEditChanged() {
    Helper().EnableItem(IDC_EXCLUDE_ADD, !ItemText(IDC_EXCLUDE_EDIT).empty());
}

void CFolderOriginPropPg::OnIncludeAdd() { AddPattern(IDC_INCLUDE_EDIT, include_); }

void CFolderOriginPropPg::OnExcludeAdd() { AddPattern(IDC_EXCLUDE_EDIT, exclude_); }

void CFolderOriginPropPg::OnIncludeRemove() { include_.RemoveRows(include_.GetSelectedItems()); }

void CFolderOriginPropPg::OnExcludeRemove() { exclude_.RemoveRows(exclude_.GetSelectedItems()); }

void CFolderOriginPropPg::OnBeginDragInclude(NMHDR*, LRESULT*) { DragRows(include_); }

void CFolderOriginPropPg::OnBeginDragExclude(NMHDR*, LRESULT*) { DragRows(exclude_); }

void CFolderOriginPropPg::DragRows(const CFilterListCtrl& list) {
    // The rows as they were when the drag began: a drop on the same list
    // only appends, so these indexes still name the dragged rows after it.
    const std::vector<int> dragged = list.GetSelectedItems();
    if (dragged.empty()) return;
    COleDataSource source;
    source.CacheText(JoinDraggedRows(list.RowTexts(dragged)));
    if (source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE) == DROPEFFECT_MOVE) list.RemoveRows(dragged);
}

void CFolderOriginPropPg::OnBrowse() { BrowseInto(IDC_ORIGIN, OriginOnDeviceAt(Operation()), true); }

void CFolderOriginPropPg::AddPattern(int editId, const CFilterListCtrl& list) const {
    const std::string pattern = TrimPattern(ItemText(editId));
    switch (CheckNewPattern(list.Rows(), pattern)) {
        case PatternCheck::kAccepted:
            list.AppendRows({pattern});
            break;
        case PatternCheck::kBlank:
            break;
        case PatternCheck::kDuplicate:
            Refuse(IDS_ALREADY_IN_LIST);
            return;
        case PatternCheck::kSeparator:
            Refuse(IDS_FILTER_SEPARATOR);
            return;
    }
    SetDlgItemTextA(m_hWnd, editId, "");
}

}  // namespace vorlan::filesync
