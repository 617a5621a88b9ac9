#include <gtest/gtest.h>

#include <string>

#include "Url.h"

namespace vorlan {
namespace {

enum class Op { Kind, KindOnBase, Combine, LocalPath, CombinedFolder, CombinedWhole, Parse };

const char* Name(Op op) {
    switch (op) {
    case Op::Kind: return "GetUrlServiceType";
    case Op::KindOnBase: return "GetUrlServiceType with base";
    case Op::Combine: return "CombineUrl";
    case Op::LocalPath: return "UrlToLocalPath";
    case Op::CombinedFolder: return "GetCombinedLocalPath (folder)";
    case Op::CombinedWhole: return "GetCombinedLocalPath (whole)";
    case Op::Parse: return "ParseUrl";
    }
    return "?";
}

struct Case {
    Op op;
    const char* text;
    const char* base;
    HRESULT hr;
    // The text result; for Parse "server|port|user|password|object"; for
    // the kinds the service type in decimal.
    const char* want;
};

std::string Perform(const Case& c, HRESULT& hr) {
    std::string out;
    hr = S_OK;
    switch (c.op) {
    case Op::Kind: return std::to_string(GetUrlServiceType(c.text));
    case Op::KindOnBase: return std::to_string(GetUrlServiceType(c.text, c.base));
    case Op::Combine: hr = CombineUrl(c.text, c.base, &out); return out;
    case Op::LocalPath: hr = UrlToLocalPath(c.text, out); return out;
    case Op::CombinedFolder: hr = GetCombinedLocalPath(c.text, c.base, &out, FALSE); return out;
    case Op::CombinedWhole: hr = GetCombinedLocalPath(c.text, c.base, &out, TRUE); return out;
    case Op::Parse: {
        UrlParts p;
        if (!ParseUrl(c.text, p)) hr = E_FAIL;
        return p.server + "|" + std::to_string(p.port) + "|" + p.user + "|" + p.password + "|" + p.object;
    }
    }
    return out;
}

TEST(UrlTest, Cases) {
    SetEnvironmentVariableA("VORLAN_URL_ROOT", "C:\\proj");
    SetEnvironmentVariableA("VORLAN_URL_SUB", "sub");
    SetEnvironmentVariableA("VORLAN_URL_UTF8", "C:\\Caf\xC3\xA9");
    SetEnvironmentVariableA("VORLAN_URL_LONG", std::string(1100, 'x').c_str());
    const char* fileBase = "file:///C:/p/top.xml";
    const char* httpBase = "http://h/a/top.xml";
    const Case cases[] = {
        // Kinds: file URLs and absolute local paths are the file kind.
        {Op::Kind, "file:///C:/p/t.xml", nullptr, S_OK, "4097"},
        {Op::Kind, "C:\\p\\t.xml", nullptr, S_OK, "4097"},
        {Op::Kind, "c:/p/t.xml", nullptr, S_OK, "4097"},
        {Op::Kind, "\\\\srv\\share\\t.xml", nullptr, S_OK, "4097"},
        {Op::Kind, "%VORLAN_URL_ROOT%\\t.xml", nullptr, S_OK, "4097"},
        {Op::Kind, "http://x/y.xml", nullptr, S_OK, "3"},
        {Op::Kind, "HTTP://user:pw@host:8080/a/b.xml?q=1#f", nullptr, S_OK, "3"},
        {Op::Kind, "https://h/a%20b", nullptr, S_OK, "4107"},
        {Op::Kind, "ftp://u:p@ftp.h:21/d/f.txt", nullptr, S_OK, "1"},
        {Op::Kind, "ftp://h/f", nullptr, S_OK, "1"},
        {Op::Kind, "foo://x", nullptr, S_OK, "0"},
        {Op::Kind, "mailto:a@b", nullptr, S_OK, "0"},
        {Op::Kind, "relative/t.xml", nullptr, S_OK, "0"},
        {Op::Kind, "C:t.xml", nullptr, S_OK, "0"},
        {Op::Kind, "", nullptr, S_OK, "0"},
        {Op::Kind, "%VORLAN_URL_LONG%", nullptr, S_OK, "0"},
        {Op::KindOnBase, "sub/t.xml", httpBase, S_OK, "3"},
        {Op::KindOnBase, "sub/t.xml", "C:\\p\\top.xml", S_OK, "4097"},
        {Op::KindOnBase, "C:\\q\\t.xml", httpBase, S_OK, "4097"},

        // Relative references against each base kind.
        {Op::Combine, "sub/t.xml", fileBase, S_OK, "file:///C:/p/sub/t.xml"},
        {Op::Combine, "../t.xml", fileBase, S_OK, "file:///C:/t.xml"},
        {Op::Combine, "sub\\t.xml", fileBase, S_OK, "file:///C:/p/sub/t.xml"},
        {Op::Combine, "http://x/y.xml", fileBase, S_OK, "http://x/y.xml"},
        {Op::Combine, "C:\\q\\t.xml", fileBase, S_OK, "C:\\q\\t.xml"},
        {Op::Combine, "\\\\srv\\s\\t.xml", fileBase, S_OK, "\\\\srv\\s\\t.xml"},
        {Op::Combine, "sub/t.xml", "C:\\p\\top.xml", S_OK, "file:///C:/p/sub/t.xml"},
        {Op::Combine, "sub/t.xml", "\\\\srv\\share\\top.xml", S_OK, "file://srv/share/sub/t.xml"},
        {Op::Combine, "sub/t.xml", "C:\\100%\\a#1\\top.xml", S_OK, "file:///C:/100%25/a%231/sub/t.xml"},
        {Op::Combine, "sub/t.xml", "file:///C:/proj/%DEVICE_NAME%/top.xml", S_OK,
         "file:///C:/proj/%DEVICE_NAME%/sub/t.xml"},
        {Op::Combine, "%VORLAN_URL_SUB%/t.xml", "%VORLAN_URL_ROOT%\\top.xml", S_OK, "file:///C:/proj/sub/t.xml"},
        {Op::Combine, "sub/t.xml", httpBase, S_OK, "http://h/a/sub/t.xml"},
        {Op::Combine, "/r.xml", httpBase, S_OK, "http://h/r.xml"},
        {Op::Combine, "../r.xml?x=1#y", httpBase, S_OK, "http://h/r.xml?x=1#y"},
        {Op::Combine, "a%20b.xml", httpBase, S_OK, "http://h/a/a%20b.xml"},
        {Op::Combine, "t.xml", "http://u:p@h:81/a/top.xml", S_OK, "http://u:p@h:81/a/t.xml"},
        {Op::Combine, "t.xml", "https://h/a/top.xml", S_OK, "https://h/a/t.xml"},
        {Op::Combine, "//other/x.xml", "https://h/a/top.xml", S_OK, "https://other/x.xml"},
        {Op::Combine, "t.xml", "ftp://u:p@h/a/top.xml", S_OK, "ftp://u:p@h/a/t.xml"},
        {Op::Combine, nullptr, fileBase, E_FAIL, ""},
        {Op::Combine, "t.xml", nullptr, E_FAIL, ""},
        {Op::Combine, "%VORLAN_URL_LONG%", fileBase, E_FAIL, ""},

        // Local paths of file URLs; escapes decoded once.
        {Op::LocalPath, "file:///C:/p/a%20b.xml", nullptr, S_OK, "C:\\p\\a b.xml"},
        {Op::LocalPath, "file:///C:/p/100%2541.txt", nullptr, S_OK, "C:\\p\\100%41.txt"},
        {Op::LocalPath, "file:///C:/p/Caf%C3%A9.xml", nullptr, S_OK, "C:\\p\\Caf\xC3\xA9.xml"},
        {Op::LocalPath, "file://srv/share/t.xml", nullptr, S_OK, "\\\\srv\\share\\t.xml"},
        {Op::LocalPath, "C:\\p\\100%41.txt", nullptr, S_OK, "C:\\p\\100%41.txt"},
        {Op::LocalPath, "\\\\srv\\share\\a%20b.xml", nullptr, S_OK, "\\\\srv\\share\\a%20b.xml"},
        {Op::LocalPath, "%VORLAN_URL_ROOT%\\t.xml", nullptr, S_OK, "C:\\proj\\t.xml"},
        {Op::LocalPath, "%VORLAN_URL_UTF8%\\t.xml", nullptr, S_OK, "C:\\Caf\xC3\xA9\\t.xml"},
        {Op::LocalPath, "http://h/x.xml", nullptr, E_INVALIDARG, ""},
        {Op::LocalPath, "relative.xml", nullptr, E_INVALIDARG, ""},
        {Op::CombinedFolder, "sub/t.xml", fileBase, S_OK, "C:\\p\\sub\\"},
        {Op::CombinedWhole, "sub/t.xml", fileBase, S_OK, "C:\\p\\sub\\t.xml"},
        {Op::CombinedFolder, "t.xml", "C:\\p\\top.xml", S_OK, "C:\\p\\"},
        {Op::CombinedFolder, "D:\\x\\t.xml", "C:\\p\\top.xml", S_OK, "D:\\x\\"},
        {Op::CombinedWhole, "a%20b.xml", "\\\\srv\\share\\top.xml", S_OK, "\\\\srv\\share\\a b.xml"},
        {Op::CombinedFolder, "sub/t.xml", httpBase, E_INVALIDARG, ""},
        {Op::CombinedFolder, "sub/t.xml", nullptr, E_FAIL, ""},

        // Parts, with and without user, password and port.
        {Op::Parse, "http://user:pw@host:8080/a/b.xml?q=1#f", nullptr, S_OK, "host|8080|user|pw|/a/b.xml?q=1#f"},
        {Op::Parse, "http://x/y.xml", nullptr, S_OK, "x|80|||/y.xml"},
        {Op::Parse, "https://h/a%20b", nullptr, S_OK, "h|443|||/a%20b"},
        {Op::Parse, "ftp://u:p@ftp.h:2121/d/f.txt", nullptr, S_OK, "ftp.h|2121|u|p|/d/f.txt"},
        {Op::Parse, "ftp://u@h/x", nullptr, S_OK, "h|21|u||/x"},
        {Op::Parse, "http://h/Caf\xC3\xA9 x.xml", nullptr, S_OK, "h|80|||/Caf\xC3\xA9 x.xml"},
        {Op::Parse, "file://srv/share/t.xml", nullptr, S_OK, "srv|0|||\\\\srv\\share\\t.xml"},
        {Op::Parse, "C:/p/t.xml", nullptr, S_OK, "|0|||C:/p/t.xml"},
        {Op::Parse, "relative/t.xml", nullptr, E_FAIL, "|0|||"},
    };
    for (const Case& c : cases) {
        HRESULT hr;
        std::string got = Perform(c, hr);
        const char* text = c.text ? c.text : "(null)";
        const char* base = c.base ? c.base : "(null)";
        EXPECT_EQ(hr, c.hr) << Name(c.op) << "(" << text << ", " << base << ")";
        EXPECT_EQ(got, c.want) << Name(c.op) << "(" << text << ", " << base << ")";
    }
    EXPECT_TRUE(IsUrl("C:\\p\\t.xml"));
    EXPECT_TRUE(IsUrl("https://h/x"));
    EXPECT_FALSE(IsUrl("foo://x"));
    EXPECT_FALSE(IsUrl(nullptr));
}

}  // namespace
}  // namespace vorlan
