#include <gtest/gtest.h>

#include "UrlNormalForm.h"

namespace vorlan {
namespace {

// Each row: spellings that name one table, then one that names another.
TEST(UrlNormalFormTest, OneTableOneForm) {
    struct Case {
        std::vector<const char*> same;
        const char* other;
    };
    const Case cases[] = {
        {{"C:\\p\\top.xml", "C:/p/top.xml", "file:///C:/p/top.xml", "file://C:/p/top.xml", "c:\\P\\TOP.XML",
          "file:///c:/p/./top.xml", "C:\\p\\sub\\..\\top.xml", "C:\\p\\\\top.xml", "file:///C:/p/%74op.xml",
          "file://localhost/C:/p/top.xml", "C:\\p\\x\\y\\..\\..\\.\\top.xml"},
         "C:\\p\\sub\\top.xml"},
        {{"C:\\p\\100%41.xml", "file:///C:/p/100%2541.xml"}, "C:\\p\\100A.xml"},
        {{"\\\\server\\share\\t.xml", "file://server/share/t.xml", "\\\\SERVER\\Share\\a\\..\\t.xml"},
         "\\\\server\\other\\t.xml"},
        {{"C:\\top.xml", "C:\\..\\top.xml", "C:\\..\\..\\p\\..\\top.xml"}, "D:\\top.xml"},
        {{"http://Host/p/top.xml", "HTTP://host/p/./top.xml", "http://host/p/sub/../top.xml", "http://host//p/top.xml"},
         "http://host/P/top.xml"},
        {{"http://host/a%2fb.xml?x=1", "http://host/a%2Fb.xml?x=1"}, "http://host/a%2Fb.xml?x=2"},
        {{"ftp://h/t.xml", "FTP://H/./t.xml"}, "http://h/t.xml"},
    };
    for (const Case& c : cases) {
        const std::string first = UrlComparisonForm(c.same.front());
        for (const char* spelling : c.same) EXPECT_EQ(UrlComparisonForm(spelling), first) << spelling;
        EXPECT_NE(UrlComparisonForm(c.other), first) << c.other;
    }
    EXPECT_EQ(UrlComparisonForm("C:\\p\\sub\\..\\Top.xml"), "file:c:/p/top.xml");
    EXPECT_EQ(UrlComparisonForm("relative\\t.xml"), "relative\\t.xml");
}

}  // namespace
}  // namespace vorlan
