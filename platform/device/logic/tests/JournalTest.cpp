#include <gtest/gtest.h>

#include "Journal.h"

using namespace vorlan::device;

TEST(Journal, LinesRoundTripAnyText) {
    const std::string awkward = "quote \" back \\ tab \t line\nend \x01 \xC3\xA9";
    std::string line = FormatJournalLine("msgbox", {{"text", awkward}, {"type", "4"}});
    EXPECT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find('\n'), line.size() - 1);
    JournalEntry entry;
    ASSERT_TRUE(ParseJournalLine(std::string_view(line).substr(0, line.size() - 1), entry));
    EXPECT_EQ(entry.Get("kind"), "msgbox");
    EXPECT_EQ(entry.Get("text"), awkward);
    EXPECT_EQ(entry.Get("type"), "4");
    EXPECT_EQ(entry.Get("missing"), "");
}

TEST(Journal, BadLinesAreSkipped) {
    std::string text = FormatJournalLine("a", {}) + "{\"kind\":\"x\"\n" + "not json\n" + "{\"other\":\"1\"}\n" +
                       "{\"kind\":\"b\",\"v\":\"\\u00e9\"}\n" + FormatJournalLine("c", {{"k", "v"}});
    auto entries = ParseJournal(text);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Get("kind"), "a");
    EXPECT_EQ(entries[1].Get("k"), "v");
}
