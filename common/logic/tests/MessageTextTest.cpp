#include <gtest/gtest.h>

#include "JournalLine.h"
#include "MessageText.h"

namespace vorlan {
namespace {

TEST(MessageTextTest, ReplaceInsertsInOrder) {
    struct Case {
        const char* text;
        std::vector<std::string> strings;
        const char* want;
    };
    const Case cases[] = {
        {"%1 x %2 %1", {"a", "b"}, "a x b a"},
        {"Cannot write %1.", {"\\Temp\\x.txt"}, "Cannot write \\Temp\\x.txt."},
        {"%10 and %1", {"a"}, "a0 and a"},
        {"%1 %2", {"%2", "b"}, "b b"},
        {"%1 stays", {}, "%1 stays"},
    };
    for (const Case& c : cases) EXPECT_EQ(ReplaceInsertsInOrder(c.text, c.strings), c.want) << c.text;
}

TEST(MessageTextTest, FormatMessageInserts) {
    const std::vector<std::string> ten = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"};
    struct Case {
        const char* text;
        std::vector<std::string> strings;
        const char* want;
    };
    const Case cases[] = {
        {"Cannot write %1.", {"C:\\x"}, "Cannot write C:\\x."},
        {"%10 then %1", ten, "j then a"},
        {"%1 %2", {"%2", "b"}, "%2 b"},
        {"%3 has no string", {"a"}, "%3 has no string"},
        {"%1!s! typed", {"a"}, "a typed"},
        {"100%% sure%n%tnext", {}, "100% sure\r\n\tnext"},
        {"cut%0 here", {}, "cut"},
        {"%S and %d stay", {}, "%S and %d stay"},
        {"ends in %", {}, "ends in %"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatMessageInserts(c.text, c.strings), c.want) << c.text;
}

TEST(MessageTextTest, TrimAndFallback) {
    EXPECT_EQ(TrimLineEnds("text\r\n"), "text");
    EXPECT_EQ(TrimLineEnds("a\r\nb\n\n"), "a\r\nb");
    EXPECT_EQ(TrimLineEnds(""), "");
    EXPECT_EQ(FallbackDescription(0xC0020009, {}), "Error 0xC0020009");
    EXPECT_EQ(FallbackDescription(0xC002000D, {"HKCU\\A", "b"}), "Error 0xC002000D: HKCU\\A; b");
}

TEST(JournalLineTest, RoundTrip) {
    const std::vector<std::vector<std::string>> cases = {
        {"status", "Vorlan: Package Main: Part 1 of 2"},
        {"a\tb", "line\r\nbreak", "back\\slash", ""},
        {""},
    };
    for (const auto& fields : cases) {
        std::string line = EncodeJournalLine(fields);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
        EXPECT_EQ(DecodeJournalLine(line), fields) << line;
    }
    EXPECT_EQ(EncodeJournalLine({"a\tb", "c"}), "a\\tb\tc");
}

}  // namespace
}  // namespace vorlan
