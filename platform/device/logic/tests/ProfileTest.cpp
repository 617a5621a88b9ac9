#include <gtest/gtest.h>

#include "Profile.h"

using namespace vorlan::device;

TEST(Profile, LinesOverrideDefaults) {
    DeviceProfile p;
    ASSERT_TRUE(ParseProfile("\xEF\xBB\xBF# a device\nDeviceName = Pocket \xC3\xA9\r\nOsMajor=5\n"
                             "TotalPhys = 0x100\nFolder.5 = \\Mes documents\nFolder.20 =\n",
                             p));
    EXPECT_EQ(p.deviceName, u"Pocket \u00e9");
    EXPECT_EQ(p.osMajor, 5u);
    EXPECT_EQ(p.osMinor, 20u);
    EXPECT_EQ(p.totalPhys, 0x100u);
    EXPECT_EQ(p.folders[5], u"\\Mes documents");
    EXPECT_EQ(p.folders.count(20), 0u);
    EXPECT_EQ(p.folders[16], u"\\Windows\\Desktop");
}

TEST(Profile, RegistrySettings) {
    DeviceProfile p;
    ASSERT_TRUE(ParseProfile("Registry.HKLM\\SOFTWARE\\Apps\\Dravenhall Vorlan\\InstallDir = \\Program Files\\Dravenhall\\Vorlan\n"
                             "Registry.HKEY_CURRENT_USER\\K\\ = default\n"
                             "Directory = \\Program Files\\Dravenhall\n",
                             p));
    EXPECT_EQ(p.directories, std::vector<std::u16string>{u"\\Program Files\\Dravenhall"});
    ASSERT_EQ(p.registry.size(), 2u);
    EXPECT_EQ(p.registry[0].root, 2u);
    EXPECT_EQ(p.registry[0].key, u"SOFTWARE\\Apps\\Dravenhall Vorlan");
    EXPECT_EQ(p.registry[0].name, u"InstallDir");
    EXPECT_EQ(p.registry[0].value, u"\\Program Files\\Dravenhall\\Vorlan");
    EXPECT_EQ(p.registry[1].root, 1u);
    EXPECT_EQ(p.registry[1].name, u"");
}

TEST(Profile, BadLinesAreReported) {
    const std::pair<const char*, int> cases[] = {
        {"Registry.HKXX\\K\\v = 1\n", 1}, {"Directory =\n", 1}, {"Registry.HKLM\\v = 1\n", 1},
        {"DeviceName\n", 1}, {"\nNoSuchKey = 1\n", 2}, {"OsMajor = four\n", 1},
        {"OsMajor = 99999999999\n", 1}, {"Folder.x = \\a\n", 1},
    };
    for (auto [text, line] : cases) {
        DeviceProfile p;
        int bad = 0;
        EXPECT_FALSE(ParseProfile(text, p, &bad)) << text;
        EXPECT_EQ(bad, line) << text;
    }
}

TEST(Profile, Utf8Conversion) {
    EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), u"a\u00e9\u20ac\U0001F600");
    EXPECT_EQ(Utf16ToUtf8(u"a\u00e9\u20ac\U0001F600"), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");
}
