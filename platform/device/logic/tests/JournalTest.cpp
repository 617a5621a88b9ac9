#include <gtest/gtest.h>

#include <algorithm>

#include "Journal.h"

using namespace vorlan::device;

TEST(Journal, EntriesRoundTripAnyText) {
    const std::string awkward = "tab \t line\nend \\ back \r \xC3\xA9";
    std::string text = FormatJournalLine("msgbox", {{"text", awkward}, {"type", "4"}}) +
                       FormatJournalLine("notification", {});
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
    auto entries = ParseJournal(text);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Get("kind"), "msgbox");
    EXPECT_EQ(entries[0].Get("text"), awkward);
    EXPECT_EQ(entries[0].Get("type"), "4");
    EXPECT_EQ(entries[0].Get("missing"), "");
    EXPECT_EQ(entries[1].kind, "notification");
}

TEST(Journal, IncompleteLinesAreSkipped) {
    std::string text = "\n" "odd\tname\n" + FormatJournalLine("a", {{"k", "v"}}) + "cut\tk\tv";
    auto entries = ParseJournal(text);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Get("k"), "v");
}
