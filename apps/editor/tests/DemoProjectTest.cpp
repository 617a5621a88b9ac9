// The bundled demo project opened and saved with no edits.
#include "BrovikDoc.h"
#include "DocumentFixture.h"
#include "XmlSql.h"

#include <algorithm>
#include <vector>

namespace vorlan::editor::testing {
namespace {

class DemoProjectTest : public DocumentSuite {};

// Every row of a table file as a "k=v;" line, rows in file order; a saved
// row holds its plug-in's columns first, so attributes are compared by name.
std::string Rows(const std::string& path) {
    CXmlSql reader;
    CMapArray* rows = nullptr;
    if (reader.Execute(path, &rows) != S_OK || !rows) return "<unreadable>";
    std::string text;
    for (int i = 0; i < rows->GetSize(); ++i) {
        std::vector<std::string> fields;
        if (const StringMap* row = rows->GetRow(i))
            for (const auto& [name, value] : *row) fields.push_back(name + "=" + value + ";");
        std::sort(fields.begin(), fields.end());
        for (const std::string& field : fields) text += field;
        text += "\n";
    }
    return text;
}

TEST_F(DemoProjectTest, EveryTableKeepsItsRowsAndAttributes) {
    // Each described by its plug-in (the component tables by the core).
    const char* const tables[] = {"PlugInsCfg.xml", "components.xml", "files.xml", "registry.xml"};
    CBrovikDoc doc;
    std::vector<std::string> before;
    std::uintptr_t item = 1;
    for (const char* file : tables) {
        const std::string copy = folder_ / file;
        ASSERT_TRUE(CopyFileA(vorlan::testing::WindowsPath(std::string(DEMO_DIR) + "/" + file).c_str(),
                              copy.c_str(), FALSE))
            << file;
        before.push_back(Rows(copy));
        doc.AddPlugin(reinterpret_cast<HTREEITEM>(item++), Open(copy));
    }
    RecordedBoxes boxes;
    doc.SetProjectModified(TRUE);
    EXPECT_EQ(doc.SaveAllPlugins(), S_OK);
    EXPECT_TRUE(boxes.Taken().empty());
    EXPECT_FALSE(doc.IsModified());
    for (size_t i = 0; i < std::size(tables); ++i) {
        EXPECT_NE(before[i], "<unreadable>");
        EXPECT_EQ(Rows(folder_ / tables[i]), before[i]) << tables[i];
    }
}

}  // namespace
}  // namespace vorlan::editor::testing
