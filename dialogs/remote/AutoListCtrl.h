#pragma once
// A report list that keeps every cell's text per row, fits its columns to
// their contents and sorts itself when a column heading is clicked, by a
// kind of comparison chosen per column (text, number, size, date).
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "Controls.h"
#include "ListSort.h"

namespace vorlan {

class CAutoListCtrl : public CListCtrl {
public:
    CAutoListCtrl() = default;
    ~CAutoListCtrl() override;

    // column -1 appends. width -1 fits the heading. A new column keeps its
    // width as its minimum and sorts as text; for an existing column the
    // width only grows to the minimum given. The column's index, -1 when it
    // could not be inserted.
    int InsertColumn(int column, const std::string& heading, int format = LVCFMT_LEFT, int width = -1);
    // False for a column beyond the count.
    bool SetColumnSortType(int column, SortKind kind);

    // row -1 appends. With autosize the first column is fitted to its
    // contents (and the icon), never narrower than it is.
    int InsertItem(int row, const std::string& text, int image = -1, bool autosize = false);
    // With autosize the column is fitted to its contents, never below its
    // minimum.
    BOOL SetItemText(int row, int column, const std::string& text, bool autosize = false);
    // The owner's value of the row (0 for a row without one).
    void SetRowValue(int row, DWORD value) const;
    DWORD GetRowValue(int row) const;
    // The first selected row, -1 when none.
    int GetSelectedItem() const { return GetNextItem(-1, LVNI_SELECTED); }
    // Frees every row's texts, then deletes the rows.
    void DeleteAllItems();
    // Also shows the selection when the list has no focus, and leaves room
    // for the icon in the first column.
    void SetImageList(HIMAGELIST list, int kind);
    // Fits every column to its widest text once (after a fill: one pass
    // over the rows, whatever their number).
    void FitColumns();

    // A click on a heading: same column turns the direction, another sorts
    // ascending; then the rows are sorted.
    void SortByColumn(int column);
    // Sorts again by the active column, if any (after a refill).
    void Resort();
    const SortState& Sort() const { return sort_; }

protected:
    void OnColumnClick(NMHDR* header, LRESULT* result);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

    DECLARE_MESSAGE_MAP()

private:
    struct Row {
        std::map<int, std::string> texts;
        DWORD value = 0;
        SortKey key;
    };
    Row* RowOf(int row) const { return reinterpret_cast<Row*>(GetItemData(row)); }
    // Every row's texts, as the rows hold them now.
    std::vector<Row*> TakeRows() const;
    void FreeRows();
    int FittedWidth(int column, const std::string& text) const;
    static int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM list);

    std::vector<int> minimumWidths_;
    std::vector<SortKind> sortKinds_;
    int iconWidth_ = 0;
    SortState sort_;
};

}  // namespace vorlan
