// The bundled demo project opened and saved with no edits.
#include "BrovikDoc.h"
#include "DocumentFixture.h"
#include "XmlSql.h"

namespace vorlan::editor::testing {
namespace {

class DemoProjectTest : public DocumentSuite {};

// Every row of a table file as "k=v;" lines, in file order.
std::string Rows(const std::string& path) {
    CXmlSql reader;
    CMapArray* rows = nullptr;
    if (reader.Execute(path, &rows) != S_OK || !rows) return "<unreadable>";
    std::string text;
    for (int i = 0; i < rows->GetSize(); ++i) {
        if (const StringMap* row = rows->GetRow(i))
            for (const auto& [name, value] : *row) text += name + "=" + value + ";";
        text += "\n";
    }
    return text;
}

TEST_F(DemoProjectTest, EveryTableKeepsItsRowsAndAttributes) {
    const struct {
        const char* file;
        HRESULT opened;  // the component tables wait for the core's description object
    } tables[] = {{"PlugInsCfg.xml", S_FALSE}, {"components.xml", S_FALSE}, {"files.xml", S_OK}};
    CBrovikDoc doc;
    std::vector<std::string> before, bytesBefore;
    std::uintptr_t item = 1;
    for (const auto& t : tables) {
        const std::string copy = folder_ / t.file;
        ASSERT_TRUE(CopyFileA(vorlan::testing::WindowsPath(std::string(DEMO_DIR) + "/" + t.file).c_str(),
                              copy.c_str(), FALSE))
            << t.file;
        before.push_back(Rows(copy));
        bytesBefore.push_back(vorlan::testing::ReadFileBytes(copy));
        doc.AddPlugin(reinterpret_cast<HTREEITEM>(item++), Open(copy, t.opened));
    }
    RecordedBoxes boxes;
    doc.SetProjectModified(TRUE);
    EXPECT_EQ(doc.SaveAllPlugins(), S_OK);
    EXPECT_TRUE(boxes.Taken().empty());
    EXPECT_FALSE(doc.IsModified());
    for (size_t i = 0; i < std::size(tables); ++i) {
        const std::string copy = folder_ / tables[i].file;
        EXPECT_NE(before[i], "<unreadable>");
        EXPECT_EQ(Rows(copy), before[i]) << tables[i].file;
        // What the editor cannot describe is not even rewritten.
        if (tables[i].opened == S_FALSE) {
            EXPECT_EQ(vorlan::testing::ReadFileBytes(copy), bytesBefore[i]) << tables[i].file;
        }
    }
}

}  // namespace
}  // namespace vorlan::editor::testing
