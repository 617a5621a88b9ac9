#pragma once
// CFilterListCtrl: one of the folder page's filter lists, a list view of
// one column holding a pattern per row.
#include <string>
#include <vector>

#include "Controls.h"

namespace vorlan::filesync {

class CFilterListCtrl : public CListCtrl {
public:
    // Gives the list its one column, as wide as the list.
    void Prepare() const;

    std::vector<std::string> Rows() const;
    void SetRows(const std::vector<std::string>& rows) const;
    void AppendRows(const std::vector<std::string>& rows) const;
    // The texts of these rows.
    std::vector<std::string> RowTexts(const std::vector<int>& rows) const;
    // Removes the rows at these indexes, given first to last (as
    // GetSelectedItems gives them).
    void RemoveRows(const std::vector<int>& rows) const;
};

}  // namespace vorlan::filesync
