#pragma once
// How the remote file list orders its rows when a column heading is
// clicked: each column has a kind of comparison, and rows equal on a column
// other than the first are ordered by their first column's text.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vorlan {

enum class SortKind { Text = 0, Number = 1, Size = 2, Date = 3 };

// A date text read as a point in time (an automation date), or nothing when
// the text is no date.
using DateTextReader = std::function<std::optional<double>(std::string_view)>;

// What a cell is compared by, worked out once per sort so the comparison
// itself parses nothing.
struct SortKey {
    std::string text;   // the cell's text
    std::string name;   // the row's first-column text
    int64_t whole = 0;  // Number and Size
    std::optional<double> date;
};

SortKey MakeSortKey(SortKind kind, std::string text, std::string name, const DateTextReader& readDate);

// Three-way (-1, 0, 1). Text compares ignoring case and dates earliest
// first, numbers and sizes largest first, when ascending; descending turns
// each round. A tie on a column other than column 0 is broken by the names,
// compared with case, in the same direction. A date that is not one ties.
int CompareSortKeys(SortKind kind, const SortKey& a, const SortKey& b, bool ascending, bool firstColumn);

// The sort state after a click on a heading: the same column again turns
// the direction, another column sorts ascending.
struct SortState {
    int column = -1;
    bool ascending = true;
    void Click(int clicked) {
        if (clicked == column) {
            ascending = !ascending;
        } else {
            column = clicked;
            ascending = true;
        }
    }
};

}  // namespace vorlan
