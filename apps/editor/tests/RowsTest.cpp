// Rows added, replaced and deleted in memory.
#include "Bstr.h"
#include "ComPtr.h"
#include "DocumentFixture.h"
#include "pindrel.h"

namespace vorlan::editor::testing {
namespace {

using com::Bstr;
using com::ComPtr;

class RowsTest : public DocumentSuite {
protected:
    ComPtr<IInfoNode> Node(const char* name, const char* extra = nullptr) {
        ComPtr<IInfoNode> node;
        EXPECT_EQ(com::CreateInstance(CLSID_InfoNode, node), S_OK);
        node->SetAt(Bstr(L"Name").Get(), Bstr::FromAnsi(name).Get());
        if (extra) node->SetAt(Bstr(L"Extra").Get(), Bstr::FromAnsi(extra).Get());
        return node;
    }
};

TEST_F(RowsTest, AppendInsertReplaceDelete) {
    const std::string path =
        Put("r.xml", TableText("\t<RecorderSync Name=\"a\"/>\n\t<RecorderSync Name=\"b\"/>\n\t<RecorderSync Name=\"c\"/>\n"));
    const struct {
        const char* what;
        std::function<long(CVorlanPlugin&, IInfoNode*)> apply;
        long result;
        const char* names;
    } cases[] = {
        {"append", [](CVorlanPlugin& t, IInfoNode* n) { return t.AppendRow(n); }, S_OK, "a,b,c,x"},
        {"insert at 1", [](CVorlanPlugin& t, IInfoNode* n) { return t.InsertRow(1, n); }, S_OK, "a,x,b,c"},
        {"insert at the end", [](CVorlanPlugin& t, IInfoNode* n) { return t.InsertRow(3, n); }, S_OK, "a,b,c,x"},
        {"insert beyond the end", [](CVorlanPlugin& t, IInfoNode* n) { return t.InsertRow(4, n); }, E_INVALIDARG,
         "a,b,c"},
        {"replace 2", [](CVorlanPlugin& t, IInfoNode* n) { return t.ReplaceRow(2, n); }, S_OK, "a,b,x"},
        {"replace beyond the end", [](CVorlanPlugin& t, IInfoNode* n) { return t.ReplaceRow(3, n); }, S_FALSE,
         "a,b,c"},
        {"delete 0", [](CVorlanPlugin& t, IInfoNode*) { return t.DeleteRow(0); }, 0, "b,c"},
        {"delete the last", [](CVorlanPlugin& t, IInfoNode*) { return t.DeleteRow(2); }, 0, "a,b"},
        {"delete beyond the end", [](CVorlanPlugin& t, IInfoNode*) { return t.DeleteRow(3); }, 1, "a,b,c"},
        {"delete before the start", [](CVorlanPlugin& t, IInfoNode*) { return t.DeleteRow(-1); }, 1, "a,b,c"},
    };
    for (const auto& c : cases) {
        auto table = Open(path);
        auto node = Node("x", "not listed");
        EXPECT_EQ(c.apply(*table, node.Get()), c.result) << c.what;
        EXPECT_EQ(Names(*table), c.names) << c.what;
        std::string value = "-";
        EXPECT_FALSE(table->GetCellValue(table->GetRowCount(), 0, value)) << c.what;
        EXPECT_EQ(value, "-");
    }
}

TEST_F(RowsTest, OnlyListedColumnsTravelFromANode) {
    auto table = Open(Put("r.xml", TableText("\t<RecorderSync Name=\"a\"/>\n")));
    auto node = Node("x", "not listed");
    node->SetAt(Bstr(L"Value").Get(), Bstr(L"v").Get());
    std::unique_ptr<StringMap> row;
    table->NodeToRow(row, node.Get());
    ASSERT_TRUE(row);
    std::string fields;
    for (const auto& [name, value] : *row) fields += name + "=" + value + ";";
    EXPECT_EQ(fields, "Name=x;Value=v;Fail=;");
    // Into an existing row: its other fields stay.
    row->Set("Kept", "k");
    table->NodeToRow(row, Node("y").Get());
    EXPECT_EQ(*row->Find("Kept"), "k");
    EXPECT_EQ(*row->Find("Name"), "y");
}

TEST_F(RowsTest, ANewNodeIsANewEmptyRow) {
    CVorlanPlugin table;
    ASSERT_EQ(table.OpenTable("new", "Recorder.Vorlan", CVorlanPlugin::kNewTableOfProgId), S_OK);
    ComPtr<IInfoNode> node;
    EXPECT_EQ(table.CreateInfoNode(node.Put()), S_OK);
    EXPECT_TRUE(node);
    EXPECT_EQ(table.CreateInfoNode(), S_OK);
    EXPECT_EQ(table.GetRowCount(), 2);
    EXPECT_EQ(RowText(table, 1), "");
}

}  // namespace
}  // namespace vorlan::editor::testing
