#include <gtest/gtest.h>

#include "LoopbackHttpServer.h"
#include "TableBytes.h"
#include "TestSupport.h"
#include "XmlSql.h"

#include "Bstr.h"
#include "ComPtr.h"

using vorlan::CMapArray;
using vorlan::CXmlSql;
using vorlan::StringMap;
using vorlan::testing::TempFolder;
using vorlan::testing::WriteFileBytes;

namespace {

class XmlSqlTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(com_.Result()); }

    std::string Table(const std::string& name, const std::string& xml) {
        std::string path = folder_ / name;
        WriteFileBytes(path, xml);
        return path;
    }

    // Rows as "a=1,b=2|<null>|..." for compact comparison.
    static std::string Describe(const CMapArray* rows) {
        if (!rows) return "<no result>";
        std::string out;
        for (int i = 0; i < rows->GetSize(); ++i) {
            if (i) out += "|";
            const StringMap* row = rows->GetRow(i);
            if (!row) {
                out += "<null>";
                continue;
            }
            bool first = true;
            for (const auto& [k, v] : *row) {
                out += (first ? "" : ",") + k + "=" + v;
                first = false;
            }
        }
        return out;
    }

    vorlan::testing::ComScope com_;
    TempFolder folder_;
};

TEST_F(XmlSqlTest, ReadsTablesAsTheyAreWritten) {
    struct Case {
        const char* note;
        const char* xml;
        HRESULT hr;
        const char* rows;
    };
    const Case cases[] = {
        {"saved with no rows", "<?xml version=\"1.0\"?>\n<root>\n</root>\n", S_OK, ""},
        {"element without children", "<root></root>", S_FALSE, "<no result>"},
        {"not well formed", "<root><A></root>", S_FALSE, "<no result>"},
        {"empty file", "", S_FALSE, "<no result>"},
        {"rows among text, comments and a processing instruction",
         "<root>\n\t<R a=\"1\" b=\"2\"/>\n\t<!-- note -->\n\t<?pi x?>\n\t<Other c=\"3\"/>\n</root>",
         S_OK, "a=1,b=2|c=3"},
        {"element with no attributes is a NULL row", "<root><R/><R a=\"x\"/></root>", S_OK,
         "<null>|a=x"},
        {"attribute order kept, escapes decoded",
         "<root><R z=\"&amp;&lt;&quot;\" a=\"\xC3\xA9\xE6\x97\xA5\"/></root>", S_OK,
         "z=&<\",a=\xC3\xA9\xE6\x97\xA5"},
        {"comment after the table", "<root>\n\t<R a=\"1\"/>\n</root>\n<!-- edited by hand -->",
         S_OK, "a=1"},
    };
    int n = 0;
    for (const Case& c : cases) {
        CXmlSql sql;
        CMapArray* rows = reinterpret_cast<CMapArray*>(1);
        EXPECT_EQ(sql.Execute(Table("t" + std::to_string(n++) + ".xml", c.xml), &rows), c.hr)
            << c.note;
        EXPECT_EQ(Describe(rows), c.rows) << c.note;
    }
}

TEST_F(XmlSqlTest, MissingSourcesReadAsNothing) {
    CXmlSql sql;
    CMapArray* rows = nullptr;
    EXPECT_EQ(sql.Execute("", &rows), S_FALSE);
    EXPECT_EQ(rows, nullptr);
    EXPECT_EQ(sql.Execute(folder_ / "absent.xml", &rows), S_FALSE);
    EXPECT_EQ(rows, nullptr);
}

TEST_F(XmlSqlTest, ReadsFileAndHttpUrlsAlike) {
    const std::string xml = "<root>\n\t<R a=\"1\"/>\n\t<R b=\"2\"/>\n</root>";
    std::string path = Table("t.xml", xml);
    vorlan::testing::LoopbackHttpServer server;
    server.Serve("/t.xml", xml);

    std::string fileUrl = "file:///" + path;
    for (char& c : fileUrl)
        if (c == '\\') c = '/';
    for (const std::string& source : {path, fileUrl, server.Url("/t.xml")}) {
        CXmlSql sql;
        CMapArray* rows = nullptr;
        EXPECT_EQ(sql.Execute(source, &rows), S_OK) << source;
        EXPECT_EQ(Describe(rows), "a=1|b=2") << source;
    }
    EXPECT_EQ(server.RequestCount(), 1);

    CXmlSql missing;
    CMapArray* rows = nullptr;
    EXPECT_EQ(missing.Execute(server.Url("/absent.xml"), &rows), S_FALSE);
}

// An error page is no table, whatever it holds, and a server that takes the
// request and never answers is given up after the time limit.
TEST_F(XmlSqlTest, OnlyASuccessfulAnswerInTimeIsATable) {
    const std::string table = "<root>\n\t<R a=\"1\"/>\n</root>";
    const std::string html = "<html><head><title>Not Found</title></head><body><p>gone</p></body></html>";
    vorlan::testing::LoopbackHttpServer server;
    struct Case {
        const char* path;
        const std::string& body;
        int status;
        const char* type;
    };
    const Case cases[] = {
        {"/404-table.xml", table, 404, "text/xml"},
        {"/500-table.xml", table, 500, "text/xml"},
        {"/404-page.xml", html, 404, "text/html"},
        {"/500-page.xml", html, 500, "text/html"},
        {"/302-table.xml", table, 302, "text/xml"},
    };
    for (const Case& c : cases) server.Serve(c.path, c.body, c.status, c.type);
    for (const Case& c : cases) {
        CXmlSql sql;
        CMapArray* rows = reinterpret_cast<CMapArray*>(1);
        EXPECT_EQ(sql.Execute(server.Url(c.path), &rows), S_FALSE) << c.path;
        EXPECT_EQ(rows, nullptr) << c.path;
    }
    server.Serve("/ok.xml", table, 200);
    CXmlSql ok;
    CMapArray* rows = nullptr;
    EXPECT_EQ(ok.Execute(server.Url("/ok.xml"), &rows), S_OK);
    EXPECT_EQ(Describe(rows), "a=1");

    server.NeverAnswer("/silent.xml");
    const DWORD limit = vorlan::TableTimeLimit();
    vorlan::SetTableTimeLimit(1500);
    const DWORD start = GetTickCount();
    CXmlSql silent;
    EXPECT_EQ(silent.Execute(server.Url("/silent.xml"), &rows), S_FALSE);
    const DWORD waited = GetTickCount() - start;
    vorlan::SetTableTimeLimit(limit);
    EXPECT_EQ(rows, nullptr);
    EXPECT_GE(waited, 1000u);
    EXPECT_LT(waited, 15000u);
}

// A plain path is the file it names: escapes in it are part of the name,
// while in its file URL they are escapes.
TEST_F(XmlSqlTest, PercentSignsInAPlainPathArePartOfTheName) {
    const std::string path = Table("100%41.xml", "<root><R a=\"1\"/></root>");
    Table("100A.xml", "<root><R other=\"wrong file\"/></root>");
    std::string fileUrl = "file:///" + folder_.Path() + "/100%2541.xml";
    for (char& c : fileUrl)
        if (c == '\\') c = '/';
    for (const std::string& source : {path, fileUrl}) {
        CXmlSql sql;
        CMapArray* rows = nullptr;
        EXPECT_EQ(sql.Execute(source, &rows), S_OK) << source;
        EXPECT_EQ(Describe(rows), "a=1") << source;
    }
}

// Namespace declarations are no fields; they never cost a table its rows.
TEST_F(XmlSqlTest, NamespaceDeclarationsOnRowsAreSkipped) {
    CXmlSql sql;
    CMapArray* rows = nullptr;
    EXPECT_EQ(sql.Execute(Table("ns.xml", "<root>\n\t<R xmlns=\"v\" a=\"1\"/>\n\t<R xmlns:p=\"u\" b=\"2\"/>"
                                          "\n\t<R xmlns=\"w\"/>\n\t<R c=\"3\"/>\n</root>"),
                          &rows),
              S_OK);
    EXPECT_EQ(Describe(rows), "a=1|b=2|<null>|c=3");
}

TEST_F(XmlSqlTest, HugeAttributeIsReadWhole) {
    std::string big(1 << 20, 'x');
    CXmlSql sql;
    CMapArray* rows = nullptr;
    ASSERT_EQ(sql.Execute(Table("big.xml", "<root><R a=\"" + big + "\"/></root>"), &rows), S_OK);
    ASSERT_NE(rows->GetRow(0), nullptr);
    EXPECT_EQ(*rows->GetRow(0)->Find("a"), big);
}

TEST_F(XmlSqlTest, TableNameIsTheFirstElementChild) {
    CXmlSql sql;
    std::string name = "x";
    EXPECT_EQ(sql.GetTableName(name), S_FALSE);
    sql.SetSource(Table("n.xml", "<root>\n\t<!-- c -->\n\t<FileSync a=\"1\"/><Other/></root>"));
    EXPECT_EQ(sql.GetTableName(name), S_OK);
    EXPECT_EQ(name, "FileSync");
    sql.SetSource(folder_ / "absent.xml");
    EXPECT_EQ(sql.GetTableName(name), E_POINTER);
}

TEST_F(XmlSqlTest, RowsBecomeInfoNodes) {
    CXmlSql sql;
    CMapArray* rows = nullptr;
    ASSERT_EQ(sql.Execute(Table("r.xml", "<root><R/><R Key=\"k\" Value=\"v\"/></root>"), &rows),
              S_OK);
    for (int absent : {-1, 0, 2}) {
        IInfoNode* node = reinterpret_cast<IInfoNode*>(1);
        EXPECT_EQ(rows->GetRowInfoNode(absent, &node), S_FALSE) << absent;
        EXPECT_EQ(node, nullptr);
    }
    vorlan::com::ComPtr<IInfoNode> node;
    ASSERT_EQ(rows->GetRowInfoNode(1, node.Put()), S_OK);
    vorlan::com::Bstr value;
    ASSERT_EQ(node->GetProperty(vorlan::com::Bstr(L"Value").Get(), value.Put()), S_OK);
    EXPECT_EQ(value.Ansi(), "v");
}

TEST_F(XmlSqlTest, DeletedRowsLeaveEmptyEntries) {
    CXmlSql sql;
    CMapArray* rows = nullptr;
    ASSERT_EQ(sql.Execute(Table("d.xml", "<root><R a=\"1\"/><R b=\"2\"/></root>"), &rows), S_OK);
    EXPECT_EQ(rows->DeleteRows(), 0);
    EXPECT_EQ(rows->GetSize(), 2);
    EXPECT_EQ(rows->GetRow(0), nullptr);
    EXPECT_EQ(rows->GetRow(1), nullptr);
    sql.FreeResult();  // must not touch the deleted rows again
    EXPECT_EQ(sql.Result(), nullptr);
}

}  // namespace
