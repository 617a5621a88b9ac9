// Opening a table: which description object it gets, and what it shows.
#include "Bstr.h"
#include "DocumentFixture.h"

namespace vorlan::editor::testing {
namespace {

class OpenTableTest : public DocumentSuite {};

const char kThreeRecorderRows[] =
    "\t<RecorderSync Name=\"a\" Value=\"1\"/>\n\t<RecorderSync Name=\"b\"/>\n\t<RecorderSync Name=\"c\"/>\n";

TEST_F(OpenTableTest, EachKindOfTableWithItsDescription) {
    const struct {
        const char* what;
        const char* file;  // nullptr: no file at all
        int mode;
        const char* progIdArgument;  // mode 1
        HRESULT result;
        const char* described;  // the description object's ProgId
        int rows;
        short columns;
        bool fallback;
    } cases[] = {
        {"listed kind", kThreeRecorderRows, 0, nullptr, S_OK, "Recorder.Vorlan", 3, 3, false},
        {"file plug-in", "\t<FileSync OriginUrl=\"a\" Dest=\"\\b\"/>\n", 0, nullptr, S_OK, "Feldane.Vorlan", 1, 4,
         false},
        {"registry plug-in", "\t<RegSync Key=\"HKLM\\k\" Value=\"v\"/>\n", 0, nullptr, S_OK, "Tolvane.Vorlan", 1, 3,
         false},
        {"entry without a point", "\t<PointlessSync Key=\"k\"/>\n", 0, nullptr, S_FALSE, "", 0, 0, true},
        {"missing file", nullptr, 0, nullptr, S_FALSE, "", 0, 0, true},
        {"malformed file", "\t<RecorderSync Name=\"a\"\n", 0, nullptr, S_FALSE, "", 0, 0, true},
        {"unlisted kind", "\t<MysterySync A=\"1\"/>\n", 0, nullptr, S_FALSE, "", 0, 0, true},
        {"saved with no rows", "", 0, nullptr, S_FALSE, "", 0, 0, true},
        {"new table of a ProgID", nullptr, 1, "Recorder.Vorlan", S_OK, "Recorder.Vorlan", 0, 3, false},
        {"new table of an unknown ProgID", nullptr, 1, "Nothing.Vorlan", S_FALSE, "", 0, 0, true},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string path = folder_ / ("t" + std::to_string(n++) + ".xml");
        if (c.file) vorlan::testing::WriteFileBytes(path, TableText(c.file));
        CVorlanPlugin table;
        EXPECT_EQ(table.OpenTable("Name", c.mode == 0 ? path : c.progIdArgument, c.mode), c.result) << c.what;
        ASSERT_NE(table.GetProperties(), nullptr) << c.what;
        com::Bstr described;
        table.GetProperties()->get_ProgId(described.Put());
        EXPECT_EQ(described.Ansi(), c.described) << c.what;
        EXPECT_EQ(table.GetRowCount(), c.rows) << c.what;
        EXPECT_EQ(table.GetColumnCount(), c.columns) << c.what;
        EXPECT_EQ(table.IsDescribedByFallback(), c.fallback) << c.what;
        EXPECT_EQ(table.GetDisplayName(), "Name") << c.what;
        if (c.mode == 0) {
            EXPECT_EQ(table.GetUrl(), path) << c.what;
        }
    }
}

TEST_F(OpenTableTest, ColumnsAndCellsOfTheListedFields) {
    auto table = Open(Put("r.xml", TableText(kThreeRecorderRows)));
    EXPECT_EQ(table->GetTableName(), "RecorderSync");
    EXPECT_FALSE(table->IsComponentTable());
    EXPECT_EQ(table->GetFieldNameList(), (std::vector<std::string>{"Name", "Value", "Fail"}));
    std::string name;
    EXPECT_TRUE(table->GetFieldName(3, name));  // the count itself still asks the node
    EXPECT_EQ(name, "");
    EXPECT_FALSE(table->GetFieldName(4, name));
    const struct {
        int row, column;
        BOOL found;
        const char* value;
    } cells[] = {
        {0, 0, TRUE, "a"}, {0, 1, TRUE, "1"}, {1, 1, TRUE, ""},  // a field the row lacks
        {2, 0, TRUE, "c"}, {3, 0, FALSE, "-"},                   // one past the last row
        {-1, 0, FALSE, "-"}, {0, 3, FALSE, "-"},                 // no field name
    };
    for (const auto& c : cells) {
        std::string value = "-";
        EXPECT_EQ(table->GetCellValue(c.row, c.column, value), c.found) << c.row << "," << c.column;
        EXPECT_EQ(value, c.value) << c.row << "," << c.column;
    }
}

TEST_F(OpenTableTest, AComponentTableIsKnownByItsName) {
    auto table = Open(Put("top.xml", TableText("\t<plugInsCfg ProgId=\"Feldane.Vorlan\" ConfigUrl=\"f.xml\"/>\n")));
    // The core's own description object describes the component table.
    EXPECT_FALSE(table->IsDescribedByFallback());
    EXPECT_EQ(table->GetTableName(), "PlugInsCfg");
    EXPECT_TRUE(table->IsComponentTable());
    CVorlanPlugin unopened;
    EXPECT_FALSE(unopened.IsComponentTable());
}

TEST_F(OpenTableTest, OpeningAgainKeepsTheDescriptionAndAnswersTheReading) {
    const std::string path = Put("r.xml", TableText(kThreeRecorderRows));
    CVorlanPlugin table;
    ASSERT_EQ(table.OpenTable("t", path, 0), S_OK);
    IVorlanProperties* first = table.GetProperties();
    EXPECT_EQ(table.OpenTable("t", folder_ / "missing.xml", 0), S_FALSE);
    EXPECT_EQ(table.GetProperties(), first);
    EXPECT_EQ(table.GetRowCount(), 0);
    EXPECT_EQ(table.OpenTable("t", "Recorder.Vorlan", 1), E_FAIL);
}

}  // namespace
}  // namespace vorlan::editor::testing
