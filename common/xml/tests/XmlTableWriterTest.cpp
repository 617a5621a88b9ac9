#include <gtest/gtest.h>

#include "Bstr.h"
#include "ComPtr.h"
#include "TestSupport.h"
#include "XmlSql.h"
#include "XmlTableWriter.h"

using vorlan::CMapArray;
using vorlan::CXmlSql;
using vorlan::SaveXmlTable;
using vorlan::StringMap;
using vorlan::testing::ReadFileBytes;
using vorlan::testing::TempFolder;

namespace {

std::unique_ptr<StringMap> Row(std::initializer_list<std::pair<const char*, const char*>> fields) {
    auto row = std::make_unique<StringMap>();
    for (auto [k, v] : fields) row->Set(k, v);
    return row;
}

// The body after the XML declaration, whose line end differs between MSXML
// implementations.
std::string Body(const std::string& file) {
    size_t end = file.find("?>");
    size_t start = end == std::string::npos ? 0 : file.find_first_not_of("\r\n", end + 2);
    return file.substr(start);
}

class XmlTableWriterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(com_.Result()); }
    vorlan::testing::ComScope com_;
    TempFolder folder_;
    const std::vector<std::string> fields_ = {"OriginUrl", "Dest", "FileAttributes"};
};

TEST_F(XmlTableWriterTest, WritesTheTableLayout) {
    CMapArray rows;
    // Fields out of column order, an unknown field, an empty one.
    rows.Add(Row({{"Dest", "\\Windows"}, {"OriginUrl", "a.txt"}, {"Extra", "lost"}}));
    rows.Add(Row({{"OriginUrl", ""}, {"Dest", ""}}));  // all empty: not written
    rows.Add(nullptr);
    rows.Add(Row({{"FileAttributes", "COPY|OVERWRITE"}, {"OriginUrl", "\xC3\xA9 & <b>"}}));
    std::string path = folder_ / "t.xml";
    ASSERT_EQ(SaveXmlTable("", path, "FileSync", fields_, rows), S_OK);

    std::string file = ReadFileBytes(path);
    EXPECT_EQ(file.rfind("<?xml version=\"1.0\"", 0), 0u) << file;
    EXPECT_EQ(Body(file),
              "<root>\n"
              "\t<FileSync OriginUrl=\"a.txt\" Dest=\"\\Windows\"/>\n"
              "\t<FileSync OriginUrl=\"\xC3\xA9 &amp; &lt;b&gt;\" FileAttributes=\"COPY|OVERWRITE\"/>\n"
              "</root>\n");

    // Read back and written again: the same bytes.
    CXmlSql sql;
    CMapArray* read = nullptr;
    ASSERT_EQ(sql.Execute(path, &read), S_OK);
    ASSERT_EQ(read->GetSize(), 2);
    EXPECT_EQ(*read->GetRow(1)->Find("OriginUrl"), "\xC3\xA9 & <b>");
    std::string again = folder_ / "again.xml";
    ASSERT_EQ(SaveXmlTable(path, again, "FileSync", fields_, *read), S_OK);
    EXPECT_EQ(ReadFileBytes(again), file);
}

// A field XML cannot hold would make the table unreadable from then on: it
// is refused, named, and the old file stays as it was.
TEST_F(XmlTableWriterTest, FieldsXmlCannotHoldAreRefused) {
    std::string path = folder_ / "kept.xml";
    CMapArray good;
    good.Add(Row({{"OriginUrl", "a.txt"}}));
    ASSERT_EQ(SaveXmlTable("", path, "FileSync", fields_, good), S_OK);
    const std::string before = ReadFileBytes(path);

    for (const char* bad : {"a\x01" "b", "\x1b[0m", "x\x7f\x1f"}) {
        CMapArray rows;
        rows.Add(Row({{"OriginUrl", "b.txt"}}));
        rows.Add(Row({{"OriginUrl", "c.txt"}, {"Dest", bad}}));
        SetErrorInfo(0, nullptr);
        EXPECT_EQ(SaveXmlTable(path, path, "FileSync", fields_, rows), HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
        EXPECT_EQ(ReadFileBytes(path), before);
        EXPECT_EQ(GetFileAttributesA((path + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
        vorlan::com::ComPtr<IErrorInfo> error;
        ASSERT_EQ(GetErrorInfo(0, error.Put()), S_OK);
        vorlan::com::Bstr text;
        error->GetDescription(text.Put());
        EXPECT_NE(text.Ansi().find("\"Dest\""), std::string::npos) << text.Ansi();
    }
    CXmlSql sql;
    CMapArray* read = nullptr;
    EXPECT_EQ(sql.Execute(path, &read), S_OK);

    CMapArray allowed;  // tab, line feed and carriage return are text
    allowed.Add(Row({{"OriginUrl", "a\tb\nc\rd"}}));
    EXPECT_EQ(SaveXmlTable(path, path, "FileSync", fields_, allowed), S_OK);
}

TEST_F(XmlTableWriterTest, NoRowsReadsBackAsZeroRows) {
    CMapArray rows;
    std::string path = folder_ / "empty.xml";
    ASSERT_EQ(SaveXmlTable("", path, "FileSync", fields_, rows), S_OK);
    EXPECT_EQ(Body(ReadFileBytes(path)), "<root>\n</root>\n");
    CXmlSql sql;
    CMapArray* read = nullptr;
    EXPECT_EQ(sql.Execute(path, &read), S_OK);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetSize(), 0);
}

TEST_F(XmlTableWriterTest, KeepsWhatIsOutsideRootAndReplacesTheRows) {
    std::string path = folder_ / "own.xml";
    vorlan::testing::WriteFileBytes(
        path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- kept -->\n<root>\n\t<Old a=\"1\"/>\n</root>\n");
    CMapArray rows;
    rows.Add(Row({{"Dest", "d"}}));
    ASSERT_EQ(SaveXmlTable(path, path, "FileSync", fields_, rows), S_OK);
    std::string file = ReadFileBytes(path);
    EXPECT_NE(file.find("<!-- kept -->"), std::string::npos) << file;
    EXPECT_NE(file.find("<root>\n\t<FileSync Dest=\"d\"/>\n</root>"), std::string::npos) << file;
    EXPECT_EQ(file.find("Old"), std::string::npos) << file;
}

TEST_F(XmlTableWriterTest, FailedSaveKeepsTheOldTable) {
    std::string path = folder_ / "keep.xml";
    CMapArray rows;
    rows.Add(Row({{"Dest", "old"}}));
    ASSERT_EQ(SaveXmlTable("", path, "FileSync", fields_, rows), S_OK);
    std::string before = ReadFileBytes(path);
    // A folder where the temporary file should go makes the save fail.
    ASSERT_TRUE(CreateDirectoryA((path + ".tmp").c_str(), nullptr));
    rows.Add(Row({{"Dest", "new"}}));
    EXPECT_TRUE(FAILED(SaveXmlTable(path, path, "FileSync", fields_, rows)));
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(SaveXmlTable("", path, "", fields_, rows), E_FAIL);
}

}  // namespace
