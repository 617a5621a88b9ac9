#include <gtest/gtest.h>

#include "AutoStartCommand.h"
#include "ComponentRow.h"

namespace vorlan {
namespace {

TEST(AutoStartCommandTest, Cases) {
    // A command of 259 characters: the quotes, "Stelmar.exe" and " /SyncNow" add 22.
    const std::string longFolder = "C:\\" + std::string(233, 'd') + "\\";
    struct Case {
        std::string installDir;
        bool made;
        std::string command;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Dravenhall\\Vorlan\\", true, "\"C:\\Program Files\\Dravenhall\\Vorlan\\Stelmar.exe\" /SyncNow"},
        {"C:\\Program Files\\Dravenhall\\Vorlan", true, "\"C:\\Program Files\\Dravenhall\\Vorlan\\Stelmar.exe\" /SyncNow"},
        {"D:/Vorlan/", true, "\"D:/Vorlan/Stelmar.exe\" /SyncNow"},
        {"", false, "kept"},
        {longFolder, true, "\"" + longFolder + "Stelmar.exe\" /SyncNow"},
        {longFolder + "e\\", false, "kept"},  // 261 characters
        {longFolder + "e", false, "kept"},    // with the backslash added
    };
    for (const Case& c : cases) {
        std::string command = "kept";
        EXPECT_EQ(MakeAutoStartCommand(c.installDir, command), c.made) << c.installDir;
        EXPECT_EQ(command, c.command) << c.installDir;
        EXPECT_LE(command.size(), kAutoStartCommandMost);
    }
}

TEST(ComponentRowTest, FieldsAsTheDialogStarts) {
    struct Case {
        const char *alwaysSync, *version, *patch;
        bool wantAlways;
        double wantVersion;
        int wantPatch;
    };
    const Case cases[] = {
        {"", "", "", true, 1.0, 0},       {"0", "1.5", "2", false, 1.5, 2}, {"1", "2", "7", true, 2.0, 7},
        {"0", "1.2.3", "0", false, 1.2, 0}, {"2", "x", "y", true, 0.0, 0},
    };
    for (const Case& c : cases) {
        const ComponentFields fields = ReadComponentFields(c.alwaysSync, c.version, c.patch);
        EXPECT_EQ(fields.alwaysSync, c.wantAlways) << c.alwaysSync;
        EXPECT_DOUBLE_EQ(fields.version, c.wantVersion) << c.version;
        EXPECT_EQ(fields.patch, c.wantPatch) << c.patch;
    }
}

// A version the user did not touch goes back as it was read; a typed one
// is stored with two decimals.
TEST(ComponentRowTest, VersionToStore) {
    EXPECT_EQ(VersionToStore("1.2.3", false, 1.2), "1.2.3");
    EXPECT_EQ(VersionToStore("1.100", false, 1.1), "1.100");
    EXPECT_EQ(VersionToStore("", false, 1.0), "");
    EXPECT_EQ(VersionToStore("1.2.3", true, 1.5), "1.50");
    EXPECT_EQ(VersionToStore("", true, 9999), "9999.00");
}

TEST(ComponentRowTest, ChosenFilesGetAnExtensionOnlyWhenTheyHaveNone) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\p\\Files", "C:\\p\\Files.XML"},   {"C:\\p\\Files.xml", "C:\\p\\Files.xml"},
        {"C:\\p\\Files.txt", "C:\\p\\Files.txt"}, {"C:\\p.d\\Files", "C:\\p.d\\Files.XML"},
        {"C:\\p\\Files.", "C:\\p\\Files..XML"}, {"Files", "Files.XML"},
    };
    for (const auto& [in, want] : cases) EXPECT_EQ(WithTableExtension(in), want) << in;
}

}  // namespace
}  // namespace vorlan
