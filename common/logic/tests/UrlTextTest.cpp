#include <gtest/gtest.h>

#include "FileUrl.h"
#include "UrlEscape.h"

namespace vorlan {
namespace {

TEST(UrlTextTest, UnescapeDecodesOnce) {
    struct Case {
        const char* text;
        const char* want;
    };
    const Case cases[] = {
        {"a%20b", "a b"},
        {"%2f%2F", "//"},
        {"%2541", "%41"},
        {"100%25", "100%"},
        {"%C3%A9", "\xC3\xA9"},
        {"%1F%FF%00", "%1F%FF%00"},
        {"50% off", "50% off"},
        {"%", "%"},
        {"%4", "%4"},
        {"%zz%4g", "%zz%4g"},
        {"%aF", "\xAF"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        UnescapeUrl(text);
        EXPECT_EQ(text, c.want) << c.text;
    }
}

TEST(UrlTextTest, EscapeKeepsEveryCharacter) {
    struct Case {
        const char* text;
        const char* want;
    };
    const Case cases[] = {
        {"Ann Lee", "Ann%20Lee"},
        {"A#B", "A%23B"},
        {"a?b=c&d", "a%3Fb%3Dc%26d"},
        {"50% off", "50%25%20off"},
        {"t\\u/v", "t%5Cu%2Fv"},
        {"Pocket_PC-2.0~x", "Pocket_PC-2.0~x"},
        {"Caf\xC3\xA9", "Caf%C3%A9"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EscapeForUrl(c.text), c.want) << c.text;
        std::string back = EscapeForUrl(c.text);
        UnescapeUrl(back);
        EXPECT_EQ(back, c.text) << "escaping then unescaping " << c.text;
    }
}

TEST(UrlTextTest, LocalPathsAndFileUrls) {
    struct Case {
        const char* text;
        bool drive, unc, scheme, fileUrl;
    };
    const Case kinds[] = {
        {"C:\\p\\t.xml", true, false, false, false},
        {"c:/p/t.xml", true, false, false, false},
        {"C:t.xml", false, false, false, false},
        {"\\\\srv\\share\\t.xml", false, true, false, false},
        {"\\\\\\x", false, false, false, false},
        {"\\Windows\\x.exe", false, false, false, false},
        {"sub/t.xml", false, false, false, false},
        {"file:///C:/p/t.xml", false, false, true, true},
        {"FILE://srv/s/t.xml", false, false, true, true},
        {"http://h/x", false, false, true, false},
        {"svn+ssh://h/x", false, false, true, false},
        {"1http://h/x", false, false, false, false},
    };
    for (const Case& c : kinds) {
        EXPECT_EQ(IsDrivePath(c.text), c.drive) << c.text;
        EXPECT_EQ(IsUncPath(c.text), c.unc) << c.text;
        EXPECT_EQ(HasUrlScheme(c.text), c.scheme) << c.text;
        EXPECT_EQ(IsFileUrl(c.text), c.fileUrl) << c.text;
    }

    struct Conversion {
        const char* url;
        const char* path;
    };
    const Conversion toPath[] = {
        {"file:///C:/p/t.xml", "C:\\p\\t.xml"},
        {"file://C:/p/t.xml", "C:\\p\\t.xml"},
        {"file:C:/p/t.xml", "C:\\p\\t.xml"},
        {"file:///C|/p/t.xml", "C:\\p\\t.xml"},
        {"file://localhost/C:/p/t.xml", "C:\\p\\t.xml"},
        {"file://srv/share/t.xml", "\\\\srv\\share\\t.xml"},
        {"file:////srv/share/t.xml", "\\\\srv\\share\\t.xml"},
        {"file:///p/t.xml", "\\p\\t.xml"},
        {"file:///C:/p/a%20b.xml", "C:\\p\\a%20b.xml"},
    };
    for (const Conversion& c : toPath) EXPECT_EQ(LocalPathFromFileUrl(c.url), c.path) << c.url;

    const Conversion toUrl[] = {
        {"file:///C:/p/t.xml", "C:\\p\\t.xml"},
        {"file://srv/share/t.xml", "\\\\srv\\share\\t.xml"},
        {"file:///C:/100%2541/a%23b%3F.xml", "C:\\100%41\\a#b?.xml"},
    };
    for (const Conversion& c : toUrl) {
        EXPECT_EQ(FileUrlFromLocalPath(c.path), c.url) << c.path;
        std::string back = LocalPathFromFileUrl(c.url);
        UnescapeUrl(back);
        EXPECT_EQ(back, c.path) << "there and back: " << c.path;
    }
}

}  // namespace
}  // namespace vorlan
