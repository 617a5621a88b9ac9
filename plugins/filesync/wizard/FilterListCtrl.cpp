#include "FilterListCtrl.h"

namespace vorlan::filesync {

void CFilterListCtrl::Prepare() const {
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    InsertColumn(0, "", LVCFMT_LEFT, client.right - client.left - GetSystemMetrics(SM_CXVSCROLL));
    SetExtendedStyle(LVS_EX_FULLROWSELECT);
}

std::vector<std::string> CFilterListCtrl::Rows() const {
    std::vector<std::string> rows;
    for (int row = 0; row < GetItemCount(); ++row) rows.push_back(GetItemText(row, 0));
    return rows;
}

void CFilterListCtrl::SetRows(const std::vector<std::string>& rows) const {
    DeleteAllItems();
    AppendRows(rows);
}

void CFilterListCtrl::AppendRows(const std::vector<std::string>& rows) const {
    for (const std::string& row : rows) InsertItem(GetItemCount(), row);
}

std::vector<int> CFilterListCtrl::SelectedRows() const {
    std::vector<int> rows;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

void CFilterListCtrl::RemoveRows(const std::vector<int>& rows) const {
    // Last first, so the indexes before stay where they were.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) DeleteItem(*row);
}

}  // namespace vorlan::filesync
