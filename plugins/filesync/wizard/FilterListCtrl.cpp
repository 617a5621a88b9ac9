#include "FilterListCtrl.h"

namespace vorlan::filesync {

void CFilterListCtrl::Prepare() const {
    RECT client = {};
    GetClientRect(m_hWnd, &client);
    InsertColumn(0, "", LVCFMT_LEFT, client.right - client.left - GetSystemMetrics(SM_CXVSCROLL));
    SetExtendedStyle(LVS_EX_FULLROWSELECT);
}

std::vector<std::string> CFilterListCtrl::Rows() const {
    std::vector<int> all;
    for (int row = 0; row < GetItemCount(); ++row) all.push_back(row);
    return RowTexts(all);
}

void CFilterListCtrl::SetRows(const std::vector<std::string>& rows) const {
    DeleteAllItems();
    AppendRows(rows);
}

void CFilterListCtrl::AppendRows(const std::vector<std::string>& rows) const {
    for (const std::string& row : rows) InsertItem(GetItemCount(), row);
}

std::vector<std::string> CFilterListCtrl::RowTexts(const std::vector<int>& rows) const {
    std::vector<std::string> texts;
    for (int row : rows) texts.push_back(GetItemText(row, 0));
    return texts;
}

void CFilterListCtrl::RemoveRows(const std::vector<int>& rows) const {
    // Last first, so the indexes before stay where they were.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) DeleteItem(*row);
}

}  // namespace vorlan::filesync
