#include <gtest/gtest.h>

#include <map>

#include "ItemPaths.h"
#include "SymbolicFolders.h"

namespace vorlan {
namespace {

TEST(ItemPathsTest, ParentsAndChildren) {
    EXPECT_EQ(ParentFolder("\\a\\b\\"), "\\a\\");
    EXPECT_EQ(ParentFolder("\\a\\"), "\\");
    EXPECT_EQ(ParentFolder("\\"), "\\");
    EXPECT_EQ(ChildFolder("\\a\\", "b c"), "\\a\\b c\\");
    EXPECT_EQ(FolderPattern("\\"), "\\*.*");
    EXPECT_EQ(FolderPattern("\\Windows"), "\\Windows\\*.*");
}

TEST(ItemPathsTest, TreeItemPaths) {
    struct Case {
        const char* root;
        std::vector<std::string> names;
        const char* want;
    } const cases[] = {
        {"\\", {}, "\\"},
        {"\\", {"Windows"}, "\\Windows"},
        {"\\", {"Windows", "Fonts"}, "\\Windows\\Fonts"},
        {"\\Data", {}, "\\Data"},
        {"\\Data", {"A"}, "\\Data\\A"},         // no character dropped
        {"\\Data\\", {"A", "B"}, "\\Data\\A\\B"},  // single backslashes
    };
    for (const Case& c : cases) EXPECT_EQ(ItemPath(c.root, c.names), c.want) << c.root;
}

TEST(ItemPathsTest, WhereTheFileBrowserStarts) {
    constexpr unsigned long kNone = 0xFFFFFFFF, kFolder = 0x10, kFile = 0x80;
    struct Case {
        const char* path;
        unsigned long attributes;
        const char *folder, *select;
    } const cases[] = {
        {"\\Program Files\\App", kFolder, "\\Program Files\\App\\", ""},
        {"\\Program Files\\App\\", kFolder, "\\Program Files\\App\\", ""},
        {"\\Program Files\\App\\a.txt", kFile, "\\Program Files\\App\\", "a.txt"},
        {"\\Missing", kNone, "\\", ""},
        {"", kFolder, "\\", ""},
    };
    for (const Case& c : cases) {
        BrowseStart start = StartOfBrowse(c.path, c.attributes);
        EXPECT_EQ(start.folder, c.folder) << c.path;
        EXPECT_EQ(start.selectName, c.select) << c.path;
    }
}

TEST(ItemPathsTest, NewFolderNames) {
    EXPECT_TRUE(IsNewFolderName("New Folder"));
    EXPECT_FALSE(IsNewFolderName(""));
    EXPECT_FALSE(IsNewFolderName("a\\b"));
    EXPECT_FALSE(IsNewFolderName("a/b"));
}

// The device's folders of the emulator's default profile.
SymbolicFolderTable DefaultTable(std::map<std::string, std::string> extra = {}) {
    std::map<std::string, std::string> real = {
        {"%CE_FONTS%", "\\Windows\\Fonts"},
        {"%CE_MYDOCUMENTS%", "\\My Documents"},
        {"%CE_STARTMENUPROGRAM%", "\\Windows\\Start Menu\\Programs"},
        {"%CE_STARTUP%", "\\Windows\\StartUp"},
        {"%CE_STARTMENU%", "\\Windows\\Start Menu"},
        {"%CE_WINDIR%", "\\Windows"},
        {"%CE_PROGRAMFILES%", "\\Program Files"},
        {"%CE_RECYCLEBIN%", "\\"},  // one character: left out
    };
    for (auto& [name, path] : extra) real[name] = path;
    SymbolicFolderTable table;
    table.Build([&](std::string_view name, std::string& path) {
        auto found = real.find(std::string(name));
        if (found == real.end()) return false;
        path = found->second;
        return true;
    });
    return table;
}

TEST(SymbolicFoldersTest, LeadingKnownFolderBecomesItsName) {
    const SymbolicFolderTable table = DefaultTable();
    struct Case {
        const char* path;
        size_t size;
        bool replaced;
        const char* want;
    } const cases[] = {
        {"\\Windows\\Start Menu\\Programs\\x.lnk", 260, true, "%CE_STARTMENUPROGRAM%\\x.lnk"},
        {"\\windows\\start menu\\Programs\\", 260, true, "%CE_STARTMENUPROGRAM%\\"},
        {"\\Windows\\Start Menu\\Other\\x", 260, true, "%CE_STARTMENU%\\Other\\x"},
        {"\\Windows\\", 260, true, "%CE_WINDIR%\\"},
        {"\\Windows", 260, true, "%CE_WINDIR%"},
        {"\\WindowsOld\\a.txt", 260, false, "\\WindowsOld\\a.txt"},  // whole folder names only
        {"\\Temp\\a.txt", 260, false, "\\Temp\\a.txt"},
        {"\\", 260, false, "\\"},
        {"", 260, false, ""},
        // Later occurrences of the folder's text stay.
        {"\\My Documents\\Backup\\My Documents\\a.txt", 260, true, "%CE_MYDOCUMENTS%\\Backup\\My Documents\\a.txt"},
        // The symbolic form needs 18 bytes with its terminator.
        {"\\Windows\\a.txt", 17, false, "\\Windows\\a.txt"},
        {"\\Windows\\a.txt", 18, true, "%CE_WINDIR%\\a.txt"},
    };
    for (const Case& c : cases) {
        std::string path = c.path;
        EXPECT_EQ(table.ToSymbolic(path, c.size), c.replaced) << c.path;
        EXPECT_EQ(path, c.want) << c.path;
    }
}

TEST(SymbolicFoldersTest, TwoNamesOfOneFolderTheLaterKeepsIt) {
    // Fonts and the Windows folder in one place: %CE_WINDIR% comes later.
    const SymbolicFolderTable table = DefaultTable({{"%CE_FONTS%", "\\Windows"}});
    std::string path = "\\Windows\\x.ttf";
    EXPECT_TRUE(table.ToSymbolic(path, 260));
    EXPECT_EQ(path, "%CE_WINDIR%\\x.ttf");
}

TEST(SymbolicFoldersTest, ForwardOnlyNamesAndAnEmptyDeviceGiveNoEntries) {
    SymbolicFolderTable table;
    std::vector<std::string> asked;
    table.Build([&](std::string_view name, std::string& path) {
        asked.emplace_back(name);
        path = "\\Windows\\Desktop";
        return name == "%CE_DESKTOP%" || name == "%CE_FAVORITES%";
    });
    EXPECT_TRUE(table.Empty());
    ASSERT_EQ(asked.size(), 15u);
    EXPECT_EQ(asked.front(), "%CE_FONTS%");
    EXPECT_EQ(asked.back(), "%CE_PROGRAMFILES%");
    std::string path = "\\Windows\\Desktop\\a";
    EXPECT_FALSE(table.ToSymbolic(path, 260));
}

}  // namespace
}  // namespace vorlan
