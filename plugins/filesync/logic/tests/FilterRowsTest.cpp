#include "FilterRows.h"

#include <gtest/gtest.h>

namespace vorlan::filesync {
namespace {

using Rows = std::vector<std::string>;

TEST(FilterRowsTest, ListsAndDraggedTextBecomeRows) {
    EXPECT_EQ(SplitFilterList("*.txt:*.doc"), (Rows{"*.txt", "*.doc"}));
    EXPECT_EQ(SplitFilterList("Read Me*::~*:"), (Rows{"Read Me*", "~*"}));
    EXPECT_EQ(SplitFilterList(""), Rows{});
    EXPECT_EQ(JoinFilterRows({"*.txt", "*.doc"}), "*.txt:*.doc");
    EXPECT_EQ(JoinFilterRows({}), "");

    EXPECT_EQ(SplitDroppedText("a\r\nb\nc"), (Rows{"a", "b", "c"}));
    EXPECT_EQ(SplitDroppedText("  a b \r\r\n\t\n c\r"), (Rows{"a b", "c"}));
    EXPECT_EQ(SplitDroppedText(" \r\n"), Rows{});
    EXPECT_EQ(JoinDraggedRows({"a", "b", "c"}), "a\nb\nc");
    EXPECT_EQ(SplitDroppedText(JoinDraggedRows({"*.txt", "Read Me*"})), (Rows{"*.txt", "Read Me*"}));
}

TEST(FilterRowsTest, ANewPatternIsTrimmedAndMustBeNewAndSeparatorFree) {
    const Rows rows = {"*.txt", "\xC3\x89t\xC3\xA9*"};
    const struct {
        const char* typed;
        PatternCheck want;
    } cases[] = {
        {"*.doc", PatternCheck::kAccepted},
        {"  *.doc\t", PatternCheck::kAccepted},
        {"", PatternCheck::kBlank},
        {" \t ", PatternCheck::kBlank},
        {"*.TXT", PatternCheck::kDuplicate},
        {" *.txt ", PatternCheck::kDuplicate},
        // Letters outside ASCII compare exactly.
        {"\xC3\xA9t\xC3\xA9*", PatternCheck::kAccepted},
        {"\xC3\x89t\xC3\xA9*", PatternCheck::kDuplicate},
        {"*.txt:*.doc", PatternCheck::kSeparator},
        {"a|b", PatternCheck::kSeparator},
        {"*.TXT|", PatternCheck::kSeparator},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckNewPattern(rows, TrimPattern(c.typed)), c.want) << c.typed;
    EXPECT_EQ(TrimPattern("  Read Me* \t"), "Read Me*");
}

}  // namespace
}  // namespace vorlan::filesync
