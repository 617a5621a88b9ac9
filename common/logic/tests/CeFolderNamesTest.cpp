#include <gtest/gtest.h>

#include <map>
#include <set>

#include "CeFolderNames.h"
#include "ReplaceNoCase.h"

namespace vorlan {
namespace {

TEST(ReplaceNoCaseTest, Cases) {
    struct Case {
        const char *text, *name, *value, *want;
    } const cases[] = {
        {"", "x", "y", ""},
        {"abc", "x", "y", "abc"},
        {"aXa", "x", "xx", "axxa"},                 // the value is not searched again
        {"%ce_windir%\\a", "%CE_WINDIR%", "\\Windows", "\\Windows\\a"},
        {"AbAbab", "ab", "-", "---"},
        {"aaa", "aa", "b", "ba"},                   // occurrences do not overlap
        {"x", "", "y", "x"},                        // an empty name changes nothing
        {"\xC3\xA4X\xC3\x84", "x", "_", "\xC3\xA4_\xC3\x84"},  // only ASCII letters fold
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceNoCase(c.text, c.name, c.value), c.want) << c.text << " / " << c.name;
}

// A device whose folders are known by code; codes not listed have none.
struct FakeDevice {
    std::map<int, std::string> folders;
    CeFolderLookup Lookup() {
        return [this](int code, std::string& folder) {
            auto it = folders.find(code);
            if (it == folders.end()) return false;
            folder = it->second;
            return true;
        };
    }
};

FakeDevice LocalisedDevice() {
    return {{{16, "\\Windows\\Desktop"},  {6, "\\Windows\\Favoriten"},
             {20, "\\Windows\\Schriftarten"}, {5, "\\Eigene Dateien"},
             {2, "\\Windows\\Startmen\xC3\xBC\\Programme"}, {8, "\\Windows\\Zuletzt"},
             {7, "\\Windows\\Autostart"}, {10, "\\Papierkorb"},
             {3, "\\Windows\\Steuerung"}, {4, "\\Windows\\Drucker"},
             {9, "\\Windows\\Senden an"}, {11, "\\Windows\\Startmen\xC3\xBC"},
             {18, "\\Netzwerk"}, {19, "\\Windows\\Netzwerkumgebung"},
             {21, "\\Windows\\Vorlagen"}, {kCeInstallFolderCode, "\\Programme\\Dravenhall Vorlan"}}};
}

TEST(CeFolderNamesTest, EveryNameAsksForItsOwnFolderOnly) {
    // A device whose folder of code c is "\F<c>\Sub".
    ASSERT_EQ(CeFolderNames().size(), 17u);
    for (const CeFolderName& entry : CeFolderNames()) {
        std::set<int> asked;
        auto lookup = [&asked](int code, std::string& folder) {
            asked.insert(code);
            folder = "\\F" + std::to_string(code) + "\\Sub";
            return true;
        };
        std::string out;
        ASSERT_TRUE(ExpandCeFolderNames(std::string(entry.name) + "\\f.txt", lookup, out)) << entry.name;
        std::string top = "\\F" + std::to_string(entry.code);
        EXPECT_EQ(out, (entry.topFolderOnly ? top : top + "\\Sub") + "\\f.txt") << entry.name;
        EXPECT_EQ(asked, std::set<int>{entry.code}) << entry.name;
    }
    EXPECT_EQ(CeFolderNames()[15].name, "%CE_WINDIR%");
    EXPECT_EQ(CeFolderNames()[15].code, 7) << "the startup folder";
    EXPECT_EQ(CeFolderNames()[16].code, kCeInstallFolderCode);
}

TEST(CeFolderNamesTest, Texts) {
    struct Case {
        const char* note;
        const char* text;
        bool ok;
        const char* want;
    } const cases[] = {
        {"lower case", "%ce_windir%\\x.exe", true, "\\Windows\\x.exe"},
        {"mixed case", "%Ce_ProgramFiles%\\App", true, "\\Programme\\App"},
        {"twice", "%CE_PROGRAMFILES%\\a;%CE_PROGRAMFILES%\\b", true, "\\Programme\\a;\\Programme\\b"},
        {"several names", "%CE_STARTUP%\\l.lnk|%CE_MYDOCUMENTS%\\d", true,
         "\\Windows\\Autostart\\l.lnk|\\Eigene Dateien\\d"},
        {"start menu is not a prefix of its programs", "%CE_STARTMENU%+%CE_STARTMENUPROGRAM%", true,
         "\\Windows\\Startmen\xC3\xBC+\\Windows\\Startmen\xC3\xBC\\Programme"},
        {"unknown name stays", "%CE_NOSUCH%\\x", true, "%CE_NOSUCH%\\x"},
        {"no name", "\\Windows\\x.exe", true, "\\Windows\\x.exe"},
        {"empty", "", true, ""},
        {"unclosed name", "%CE_WINDIR\\x", true, "%CE_WINDIR\\x"},
    };
    for (const Case& c : cases) {
        FakeDevice device = LocalisedDevice();
        std::string out = "stale";
        EXPECT_EQ(ExpandCeFolderNames(c.text, device.Lookup(), out), c.ok) << c.note;
        EXPECT_EQ(out, c.want) << c.note;
    }
}

TEST(CeFolderNamesTest, AFolderTheDeviceLacksFailsTheWholeText) {
    FakeDevice device = LocalisedDevice();
    device.folders.erase(10);
    device.folders[21] = "";
    for (const char* text : {"%CE_RECYCLEBIN%\\x", "%CE_WINDIR%\\a;%CE_RECYCLEBIN%", "%CE_TEMPLATES%\\t.doc"}) {
        std::string out = "stale";
        EXPECT_FALSE(ExpandCeFolderNames(text, device.Lookup(), out)) << text;
        EXPECT_EQ(out, "") << text;
    }
}

TEST(CeFolderNamesTest, TopFolder) {
    EXPECT_EQ(TopFolder("\\Windows\\StartUp"), "\\Windows");
    EXPECT_EQ(TopFolder("\\Programme\\Dravenhall Vorlan"), "\\Programme");
    EXPECT_EQ(TopFolder("\\Windows"), "\\Windows");
    EXPECT_EQ(TopFolder("\\"), "\\");
    EXPECT_EQ(TopFolder(""), "");
}

}  // namespace
}  // namespace vorlan
