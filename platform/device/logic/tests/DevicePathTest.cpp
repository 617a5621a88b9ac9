#include <gtest/gtest.h>

#include "DevicePath.h"

using namespace vorlan::device;

TEST(DevicePath, Resolution) {
    struct Case {
        std::u16string path;
        PathUse use;
        uint32_t error;
        std::u16string relative;
    };
    const Case cases[] = {
        {u"\\", PathUse::Name, 0, u""},
        {u"\\My Documents\\a.txt", PathUse::Name, 0, u"My Documents\\a.txt"},
        {u"/Windows//x.exe", PathUse::Name, 0, u"Windows\\x.exe"},
        {u"Temp\\a", PathUse::Name, 0, u"Temp\\a"},
        {u"\\a\\.\\b\\..\\c", PathUse::Name, 0, u"a\\c"},
        {u"\\a\\..", PathUse::Name, 0, u""},
        {u"\\..\\x", PathUse::Name, 3, u""},
        {u"\\a\\..\\..\\x", PathUse::Name, 3, u""},
        {u"C:\\Windows\\win.ini", PathUse::Name, 123, u""},
        {u"\\a.txt:stream", PathUse::Name, 123, u""},
        {u"\\\\server\\share\\f", PathUse::Name, 53, u""},
        {u"//server/share", PathUse::Name, 53, u""},
        {u"\\nul", PathUse::Name, 123, u""},
        {u"\\Temp\\con.txt", PathUse::Name, 123, u""},
        {u"\\COM1", PathUse::Name, 123, u""},
        {u"\\COMX", PathUse::Name, 0, u"COMX"},
        {u"\\a.", PathUse::Name, 123, u""},
        {u"\\a \\b", PathUse::Name, 123, u""},
        {u"\\a*b", PathUse::Name, 123, u""},
        {u"\\dir\\*.*", PathUse::Pattern, 0, u"dir\\*.*"},
        {u"\\di?\\*.*", PathUse::Pattern, 123, u""},
        {u"\\a|b", PathUse::Name, 123, u""},
        {u"\\", PathUse::Pattern, 87, u""},
        {u"\\" + std::u16string(259, u'x'), PathUse::Name, 206, u""},
    };
    for (const auto& c : cases) {
        ResolvedPath r = ResolveDevicePath(c.path, c.use);
        std::string shown(c.path.begin(), c.path.end());
        EXPECT_EQ(r.error, c.error) << shown;
        if (c.error == 0) {
            EXPECT_EQ(r.relative, c.relative) << shown;
            EXPECT_EQ(r.DevicePath(), u"\\" + c.relative) << shown;
        }
    }
}

TEST(DevicePath, KeysIgnoreCaseAndSeparatorForm) {
    EXPECT_EQ(PathKey(u"\\My Documents/\u00e9t\u00e9.TXT"), PathKey(u"\\MY DOCUMENTS\\\u00c9T\u00c9.txt"));
    EXPECT_NE(PathKey(u"\\a"), PathKey(u"\\b"));
}
