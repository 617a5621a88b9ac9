#include "TwoWayState.h"

#include <gtest/gtest.h>

namespace vorlan::filesync {
namespace {

TEST(TwoWayStateTest, ReadsRecordsAndConflictsAsThePlatformWritesThem) {
    TwoWayState state;
    state.Parse(
        "[C:\\data\\a.txt]\r\nCRC=4294967295\r\n"
        "[C:\\data\\b.txt]\r\nCRC=-1\r\n"
        "[C:\\data\\[old]\\c.txt]\r\n  crc = 12 \r\nConflitant=\\My Documents\\c.txt\r\n"
        "[C:\\data\\d.txt]\nCRC=12x\n"
        "[C:\\data\\e.txt]\r\nCRC=4294967296\r\nCRC=5\r\n");
    const struct {
        const char* section;
        bool has;
        uint32_t crc;
    } cases[] = {
        {"C:\\data\\a.txt", true, 4294967295u},
        {"c:\\DATA\\A.TXT", true, 4294967295u},  // names compare without case
        {"C:\\data\\b.txt", false, 0},           // "-1": no record
        {"C:\\data\\[old]\\c.txt", true, 12},
        {"C:\\data\\d.txt", false, 0},  // not a number
        {"C:\\data\\e.txt", false, 0},  // beyond 32 bits; the first key counts
        {"C:\\data\\none.txt", false, 0},
    };
    for (const auto& c : cases) {
        uint32_t crc = 99;
        EXPECT_EQ(state.ReadStoredCrc(c.section, crc), c.has) << c.section;
        EXPECT_EQ(crc, c.crc) << c.section;
    }
    EXPECT_EQ(state.ConflictRecord("C:\\data\\[old]\\c.txt"), "\\My Documents\\c.txt");
    EXPECT_FALSE(state.ConflictRecord("C:\\data\\a.txt"));
    EXPECT_FALSE(state.Changed());
}

TEST(TwoWayStateTest, RecordsEndConflictsAndTheTextRoundTrips) {
    TwoWayState state;
    state.Parse("; written by hand\r\n[C:\\w\\x.txt]\r\nCRC=5\r\nNote=kept\r\n");
    state.SetConflictRecord("C:\\w\\x.txt", "\\D\\x.txt");
    state.SetConflictRecord("C:\\w\\y.txt", "\\D\\y.txt");
    EXPECT_TRUE(state.Changed());
    EXPECT_EQ(state.Format(),
              "; written by hand\r\n[C:\\w\\x.txt]\r\nCRC=5\r\nNote=kept\r\nConflitant=\\D\\x.txt\r\n"
              "[C:\\w\\y.txt]\r\nConflitant=\\D\\y.txt\r\n");
    state.WriteStoredCrc("c:\\w\\X.TXT", 4000000000u);
    EXPECT_FALSE(state.ConflictRecord("C:\\w\\x.txt"));

    TwoWayState again;
    again.Parse(state.Format());
    uint32_t crc = 0;
    EXPECT_TRUE(again.ReadStoredCrc("C:\\w\\x.txt", crc));
    EXPECT_EQ(crc, 4000000000u);
    EXPECT_EQ(again.Value("C:\\w\\x.txt", "note"), "kept");
    EXPECT_EQ(again.ConflictRecord("C:\\w\\y.txt"), "\\D\\y.txt");
    EXPECT_EQ(again.Format(), state.Format());

    // Marking the same conflict again changes nothing.
    again.MarkSaved();
    again.SetConflictRecord("C:\\w\\y.txt", "\\D\\y.txt");
    EXPECT_FALSE(again.Changed());
}

TEST(TwoWayStateTest, ManySectionsKeepTheirOwnKeys) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "[C:\\w\\" + std::to_string(i) + ".txt]\r\nCRC=" + std::to_string(i) + "\r\n";
    TwoWayState state;
    state.Parse(text);
    for (uint32_t i = 0; i < 2000; i += 7) {
        uint32_t crc = 0;
        ASSERT_TRUE(state.ReadStoredCrc("C:\\w\\" + std::to_string(i) + ".txt", crc)) << i;
        EXPECT_EQ(crc, i);
    }
    EXPECT_EQ(state.Format(), text);
}

TEST(TwoWayStateTest, RemovesASectionOrEverythingBelowAFolder) {
    TwoWayState state;
    state.Parse(
        "[C:\\w\\f]\r\nCRC=1\r\n[C:\\w\\f\\a.txt]\r\nCRC=2\r\n[c:\\W\\F\\sub\\b.txt]\r\nCRC=3\r\n"
        "[C:\\w\\fx\\c.txt]\r\nCRC=4\r\n[C:\\w\\g.txt]\r\nCRC=5\r\n");
    EXPECT_EQ(state.ChildrenOf("c:\\w\\F"), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(state.ChildrenOf("C:\\w\\"), (std::vector<std::string>{"f", "g.txt"}));
    EXPECT_EQ(state.RemoveBelow("C:\\w\\f"), 2u);
    EXPECT_EQ(state.Sections(), (std::vector<std::string>{"C:\\w\\f", "C:\\w\\fx\\c.txt", "C:\\w\\g.txt"}));
    EXPECT_TRUE(state.RemoveSection("c:\\w\\F"));
    EXPECT_FALSE(state.RemoveSection("C:\\w\\f"));
    EXPECT_EQ(state.RemoveBelow("C:\\w\\f\\"), 0u);
    EXPECT_EQ(state.Format(), "[C:\\w\\fx\\c.txt]\r\nCRC=4\r\n[C:\\w\\g.txt]\r\nCRC=5\r\n");
    // A removed section written again comes back with only the new key.
    state.WriteStoredCrc("C:\\w\\f\\a.txt", 9);
    EXPECT_EQ(state.Value("C:\\w\\f\\a.txt", "CRC"), "9");
    EXPECT_EQ(state.Sections().size(), 3u);
}

}  // namespace
}  // namespace vorlan::filesync
