#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ListSort.h"
#include "SizeText.h"

namespace vorlan {
namespace {

TEST(SizeTextTest, BytesKilobytesAndMegabytes) {
    struct Case {
        uint64_t bytes;
        bool folder;
        const char* want;
    } const cases[] = {
        {0, false, "0 bytes"},          {1024, false, "1024 bytes"},       {1025, false, "1KB"},
        {1048576, false, "1024KB"},     {1048577, false, "1MB"},           {4294967295u, false, "4095MB"},
        {123456, true, "0 bytes"},
    };
    for (const Case& c : cases) EXPECT_EQ(FileSizeText(c.bytes, c.folder), c.want) << c.bytes;
}

TEST(SizeTextTest, TextsReadBackAsBytes) {
    struct Case {
        const char* text;
        int64_t want;
    } const cases[] = {
        {"0 bytes", 0},     {"1024 bytes", 1024},          {"1KB", 1024},
        {"1023KB", 1047552}, {"1MB", 1048576},             {"4095MB", 4293918720ll},
        {"", 0},            {"KB", 0},                     {"99999999999999999999MB", INT64_MAX},
    };
    for (const Case& c : cases) EXPECT_EQ(SizeTextBytes(c.text), c.want) << c.text;
}

// Rows of the file list sorted the way a heading click sorts them.
std::vector<std::string> Sorted(SortKind kind, std::vector<std::pair<std::string, std::string>> rows, bool ascending,
                                bool firstColumn = false) {
    auto readDate = [](std::string_view text) -> std::optional<double> {
        // "d/M/yyyy" in this test; anything else is no date.
        int d, m, y;
        if (std::sscanf(std::string(text).c_str(), "%d/%d/%d", &d, &m, &y) != 3) return std::nullopt;
        return y * 10000.0 + m * 100 + d;
    };
    std::vector<SortKey> keys;
    for (auto& [name, cell] : rows) keys.push_back(MakeSortKey(kind, firstColumn ? name : cell, name, readDate));
    std::stable_sort(keys.begin(), keys.end(), [&](const SortKey& a, const SortKey& b) {
        return CompareSortKeys(kind, a, b, ascending, firstColumn) < 0;
    });
    std::vector<std::string> names;
    for (const SortKey& key : keys) names.push_back(key.name);
    return names;
}

TEST(ListSortTest, EachKindBothWaysWithTiesByName) {
    using Rows = std::vector<std::pair<std::string, std::string>>;
    using Names = std::vector<std::string>;
    struct Case {
        const char* what;
        SortKind kind;
        bool firstColumn;
        Rows rows;
        Names ascending, descending;
    } const cases[] = {
        {"names ignore case", SortKind::Text, true, {{"b", ""}, {"A", ""}, {"c", ""}}, {"A", "b", "c"}, {"c", "b", "A"}},
        {"types, ties by name", SortKind::Text, false,
         {{"z", "Text Document"}, {"a", "folder"}, {"b", "text document"}},
         {"a", "b", "z"}, {"z", "b", "a"}},
        {"numbers largest first", SortKind::Number, false, {{"a", "2"}, {"b", "10"}, {"c", "-1"}},
         {"b", "a", "c"}, {"c", "a", "b"}},
        {"sizes largest first", SortKind::Size, false,
         {{"a", "1023KB"}, {"b", "1MB"}, {"c", "1024 bytes"}, {"d", "4095MB"}, {"e", "0 bytes"}},
         {"d", "b", "a", "c", "e"}, {"e", "c", "a", "b", "d"}},
        // 1KB and 1024 bytes tie; names compare with case ("C" before "a").
        {"equal sizes by name", SortKind::Size, false, {{"B", "1KB"}, {"a", "1KB"}, {"C", "1024 bytes"}},
         {"B", "C", "a"}, {"a", "C", "B"}},
        {"dates earliest first", SortKind::Date, false,
         {{"a", "9/5/2026"}, {"b", "1/1/2020"}, {"c", "31/12/2026"}},
         {"b", "a", "c"}, {"c", "a", "b"}},
        {"no date ties, by name", SortKind::Date, false, {{"b", "never"}, {"a", "9/5/2026"}, {"c", "9/5/2026"}},
         {"a", "b", "c"}, {"c", "b", "a"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sorted(c.kind, c.rows, true, c.firstColumn), c.ascending) << c.what;
        EXPECT_EQ(Sorted(c.kind, c.rows, false, c.firstColumn), c.descending) << c.what;
    }
}

TEST(ListSortTest, SameHeadingTurnsTheDirectionAnotherStartsAscending) {
    SortState state;
    state.Click(1);
    EXPECT_EQ(state.column, 1);
    EXPECT_TRUE(state.ascending);
    state.Click(1);
    EXPECT_FALSE(state.ascending);
    state.Click(3);
    EXPECT_EQ(state.column, 3);
    EXPECT_TRUE(state.ascending);
}

}  // namespace
}  // namespace vorlan
