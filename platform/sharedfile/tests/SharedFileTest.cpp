#include <gtest/gtest.h>

#include "SharedFile.h"
#include "TestSupport.h"

namespace vorlan {
namespace {

using testing::TempFolder;

TEST(SharedFileTest, AppendAndRead) {
    TempFolder folder;
    std::string path = folder / "log.bin";
    std::string content = "old";
    EXPECT_TRUE(ReadWholeFile(path, content)) << "a missing file reads as empty";
    EXPECT_EQ(content, "");
    ASSERT_TRUE(AppendToFile(path, std::string("a\0b", 3), true));
    ASSERT_TRUE(AppendToFile(path, "c", false));
    ASSERT_TRUE(ReadWholeFile(path, content));
    EXPECT_EQ(content, std::string("a\0bc", 4));
    EXPECT_FALSE(AppendToFile(folder / "missing\\log.bin", "x", false));
}

TEST(SharedFileTest, ReplaceKeepsTheOldContentOnFailure) {
    TempFolder folder;
    std::string path = folder / "store.bin";
    ASSERT_TRUE(ReplaceFileContent(path, "first"));
    ASSERT_TRUE(ReplaceFileContent(path, "second"));
    EXPECT_EQ(testing::ReadFileBytes(path), "second");
    EXPECT_FALSE(ReplaceFileContent(folder / "no\\such\\store.bin", "x"));
    EXPECT_FALSE(GetFileAttributesA((path + ".new").c_str()) != INVALID_FILE_ATTRIBUTES);
}

TEST(SharedFileTest, JournalLinesRoundTrip) {
    TempFolder folder;
    std::string path = folder / "journal.txt";
    EXPECT_TRUE(ReadJournal(path).empty());
    ASSERT_TRUE(AppendJournalLine(path, {"status", "line\none"}));
    ASSERT_TRUE(AppendJournalLine(path, {"balloon", "1", "3000"}));
    auto lines = ReadJournal(path);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], (std::vector<std::string>{"status", "line\none"}));
    EXPECT_EQ(lines[1], (std::vector<std::string>{"balloon", "1", "3000"}));
}

}  // namespace
}  // namespace vorlan
