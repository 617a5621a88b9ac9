#include "AutoListCtrl.h"

#include <oleauto.h>

#include "Bstr.h"

namespace vorlan {

namespace {

// Room the list view keeps beside a cell's text.
constexpr int kCellPadding = 14;

// A date the list shows, read in the user's locale (date part only).
std::optional<double> ReadUserDate(std::string_view text) {
    std::wstring wide = com::WideFromAnsi(text);
    DATE date = 0;
    if (FAILED(VarDateFromStr(wide.data(), LOCALE_USER_DEFAULT, VAR_DATEVALUEONLY, &date))) return std::nullopt;
    return date;
}

}  // namespace

BEGIN_MESSAGE_MAP(CAutoListCtrl, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
END_MESSAGE_MAP()

CAutoListCtrl::~CAutoListCtrl() { FreeRows(); }

int CAutoListCtrl::InsertColumn(int column, const std::string& heading, int format, int width) {
    const int count = static_cast<int>(minimumWidths_.size());
    if (column >= 0 && column < count) {
        if (width > minimumWidths_[column]) minimumWidths_[column] = width;
        if (GetColumnWidth(column) < minimumWidths_[column]) SetColumnWidth(column, minimumWidths_[column]);
        return column;
    }
    if (width < 0) width = GetStringWidth(heading) + kCellPadding;
    const int index = CListCtrl::InsertColumn(count, heading, format, width);
    if (index < 0) return -1;
    minimumWidths_.push_back(width);
    sortKinds_.push_back(SortKind::Text);
    return index;
}

bool CAutoListCtrl::SetColumnSortType(int column, SortKind kind) {
    if (column < 0 || column >= static_cast<int>(sortKinds_.size())) return false;
    sortKinds_[column] = kind;
    return true;
}

int CAutoListCtrl::InsertItem(int row, const std::string& text, int image, bool autosize) {
    if (row < 0) row = GetItemCount();
    const int index = CListCtrl::InsertItem(row, text, image);
    if (index < 0) return -1;
    auto* data = new Row;
    for (int column = 0; column < static_cast<int>(minimumWidths_.size()); ++column) data->texts[column];
    data->texts[0] = text;
    if (!SetItemData(index, reinterpret_cast<DWORD_PTR>(data))) {
        delete data;
        DeleteItem(index);
        return -1;
    }
    if (autosize) {
        const int wanted = FittedWidth(0, text);
        if (wanted > GetColumnWidth(0)) SetColumnWidth(0, wanted);
    }
    return index;
}

BOOL CAutoListCtrl::SetItemText(int row, int column, const std::string& text, bool autosize) {
    if (!CListCtrl::SetItemText(row, column, text)) return FALSE;
    if (Row* data = RowOf(row)) data->texts[column] = text;
    if (autosize && column < static_cast<int>(minimumWidths_.size())) {
        const int wanted = FittedWidth(column, text);
        SetColumnWidth(column, wanted > minimumWidths_[column] ? wanted : minimumWidths_[column]);
    }
    return TRUE;
}

void CAutoListCtrl::SetRowValue(int row, DWORD value) const {
    if (Row* data = RowOf(row)) data->value = value;
}

DWORD CAutoListCtrl::GetRowValue(int row) const {
    const Row* data = RowOf(row);
    return data ? data->value : 0;
}

std::vector<CAutoListCtrl::Row*> CAutoListCtrl::TakeRows() const {
    std::vector<Row*> rows;
    if (!m_hWnd) return rows;
    const int count = GetItemCount();
    rows.reserve(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) rows.push_back(RowOf(row));
    return rows;
}

void CAutoListCtrl::FreeRows() {
    for (Row* row : TakeRows()) delete row;
}

void CAutoListCtrl::DeleteAllItems() {
    // The rows go first, so no row is ever seen with its texts freed.
    const std::vector<Row*> rows = TakeRows();
    CListCtrl::DeleteAllItems();
    for (Row* row : rows) delete row;
}

void CAutoListCtrl::SetImageList(HIMAGELIST list, int kind) {
    SetWindowLongPtrA(m_hWnd, GWL_STYLE, GetWindowLongPtrA(m_hWnd, GWL_STYLE) | LVS_SHOWSELALWAYS);
    CListCtrl::SetImageList(list, kind);
    int width = 0, height = 0;
    if (list && ImageList_GetIconSize(list, &width, &height)) iconWidth_ = width;
}

int CAutoListCtrl::FittedWidth(int column, const std::string& text) const {
    return GetStringWidth(text) + kCellPadding + (column == 0 ? iconWidth_ : 0);
}

void CAutoListCtrl::FitColumns() {
    const int columns = static_cast<int>(minimumWidths_.size());
    std::vector<int> widest(static_cast<size_t>(columns), 0);
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        const Row* data = RowOf(row);
        if (!data) continue;
        for (const auto& [column, text] : data->texts) {
            if (column >= columns || text.empty()) continue;
            const int width = FittedWidth(column, text);
            if (width > widest[column]) widest[column] = width;
        }
    }
    for (int column = 0; column < columns; ++column) {
        int width = widest[column] > minimumWidths_[column] ? widest[column] : minimumWidths_[column];
        if (column == 0 && GetColumnWidth(0) > width) width = GetColumnWidth(0);
        SetColumnWidth(column, width);
    }
}

int CALLBACK CAutoListCtrl::CompareRows(LPARAM a, LPARAM b, LPARAM list) {
    const auto* self = reinterpret_cast<const CAutoListCtrl*>(list);
    const auto* rowA = reinterpret_cast<const Row*>(a);
    const auto* rowB = reinterpret_cast<const Row*>(b);
    if (!rowA || !rowB) return 0;
    const int column = self->sort_.column;
    return CompareSortKeys(self->sortKinds_[column], rowA->key, rowB->key, self->sort_.ascending, column == 0);
}

void CAutoListCtrl::Resort() {
    const int column = sort_.column;
    if (column < 0 || column >= static_cast<int>(sortKinds_.size())) return;
    // Every row's key is worked out once, so the comparisons parse nothing.
    const SortKind kind = sortKinds_[column];
    const int count = GetItemCount();
    for (int row = 0; row < count; ++row) {
        Row* data = RowOf(row);
        if (data) data->key = MakeSortKey(kind, data->texts[column], data->texts[0], ReadUserDate);
    }
    SortItems(&CAutoListCtrl::CompareRows, reinterpret_cast<DWORD_PTR>(this));
}

void CAutoListCtrl::SortByColumn(int column) {
    if (column < 0 || column >= static_cast<int>(sortKinds_.size())) return;
    sort_.Click(column);
    Resort();
}

void CAutoListCtrl::OnColumnClick(NMHDR* header, LRESULT* result) {
    SortByColumn(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
    *result = 0;
}

INT_PTR CAutoListCtrl::OnMessage(UINT message, WPARAM, LPARAM, bool& handled) {
    // The rows' texts go with the window; the list view's own handling follows.
    if (message == WM_DESTROY) FreeRows();
    handled = false;
    return 0;
}

}  // namespace vorlan
