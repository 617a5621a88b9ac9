// The state file read from a path the caller has: another program changes
// one section by reading the file again, so what a run wrote meanwhile
// stays.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "TwoWayStateFile.h"

namespace vorlan::filesync {
namespace {

using vorlan::testing::ReadFileBytes;
using vorlan::testing::TempFolder;
using vorlan::testing::WriteFileBytes;

TEST(TwoWayStateFileTest, ReadAgainAndOneSectionChangedKeepsWhatOthersWrote) {
    TempFolder folder;
    const std::string path = folder / "TwoWaySyncData-Field.ini";
    WriteFileBytes(path, "; kept\r\n[C:\\w\\a.txt]\r\nCRC=1\r\nConflitant=\\a.txt\r\n[C:\\w\\b.txt]\r\n"
                         "Conflitant=\\b.txt\r\n");
    TwoWayStateFile listed;
    ASSERT_EQ(listed.Load(path), S_OK);
    EXPECT_EQ(listed.Path(), path);
    EXPECT_EQ(listed.State().Sections().size(), 2u);

    // A run writes meanwhile: b settled, c marked.
    TwoWayStateFile run;
    ASSERT_EQ(run.Load(path), S_OK);
    run.State().WriteStoredCrc("C:\\w\\b.txt", 7);
    run.State().SetConflictRecord("C:\\w\\c.txt", "\\c.txt");
    ASSERT_EQ(run.Save(), S_OK);

    TwoWayStateFile settle;
    ASSERT_EQ(settle.Load(path), S_OK);
    settle.State().WriteStoredCrc("C:\\w\\a.txt", 4294967295u);
    ASSERT_EQ(settle.Save(), S_OK);
    EXPECT_EQ(ReadFileBytes(path),
              "; kept\r\n[C:\\w\\a.txt]\r\nCRC=4294967295\r\n[C:\\w\\b.txt]\r\nCRC=7\r\n"
              "[C:\\w\\c.txt]\r\nConflitant=\\c.txt\r\n");
}

TEST(TwoWayStateFileTest, AMissingFileIsEmptyAndAnUnreadablePathLoadsNothing) {
    TempFolder folder;
    const std::string path = folder / "TwoWaySyncData-New.ini";
    TwoWayStateFile file;
    ASSERT_EQ(file.Load(path), S_OK);
    EXPECT_TRUE(file.State().Sections().empty());
    ASSERT_EQ(file.Save(), S_OK);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing to write, nothing made";

    TwoWayStateFile missingFolder;
    EXPECT_TRUE(FAILED(missingFolder.Load(folder / "gone\\TwoWaySyncData-New.ini")));
    EXPECT_FALSE(missingFolder.Loaded());
    EXPECT_EQ(missingFolder.Save(), E_UNEXPECTED);

    // A folder where the file should be: it cannot be read, nor replaced.
    CreateDirectoryA(path.c_str(), nullptr);
    EXPECT_TRUE(FAILED(file.Load(path)));
    EXPECT_FALSE(file.Loaded());
}

}  // namespace
}  // namespace vorlan::filesync
