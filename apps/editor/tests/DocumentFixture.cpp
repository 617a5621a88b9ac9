#include "DocumentFixture.h"

#include <utility>

#include "Bstr.h"
#include "ComPtr.h"

namespace vorlan::editor::testing {

RecordedBoxes::RecordedBoxes(int answer)
    : answer_(answer), answerer_([this](const MessageBoxRequest& request) {
          std::lock_guard<std::mutex> lock(guard_);
          boxes_.push_back(request);
          return answer_;
      }) {}

std::vector<MessageBoxRequest> RecordedBoxes::Taken() {
    std::lock_guard<std::mutex> lock(guard_);
    return std::exchange(boxes_, {});
}

std::string DocumentSuite::Put(const std::string& name, const std::string& text) {
    const std::string path = folder_ / name;
    vorlan::testing::WriteFileBytes(path, text);
    return path;
}

std::unique_ptr<CVorlanPlugin> DocumentSuite::Open(const std::string& url, HRESULT expected) {
    auto table = std::make_unique<CVorlanPlugin>();
    EXPECT_EQ(table->OpenTable("t", url, CVorlanPlugin::kOpenUrl), expected) << url;
    return table;
}

std::string DocumentSuite::Names(const CVorlanPlugin& table) {
    std::string names;
    for (int row = 0; row < table.GetRowCount(); ++row) {
        std::string name;
        table.GetCellValue(row, 0, name);
        names += (row ? "," : "") + name;
    }
    return names;
}

std::string DocumentSuite::RowText(CVorlanPlugin& table, int row) {
    com::ComPtr<IInfoNode> node;
    if (FAILED(table.GetRowNode(row, node.Put()))) return "<none>";
    // The node holds every pair of the row; walk the names the tests use.
    std::string text;
    for (const char* field : {"Name", "Key", "Value", "Type", "Fail", "Extra", "Note", "QvMy_URL"}) {
        com::Bstr value;
        node->GetProperty(com::Bstr::FromAnsi(field).Get(), value.Put());
        if (!value.Ansi().empty()) text += std::string(field) + "=" + value.Ansi() + ";";
    }
    return text;
}

}  // namespace vorlan::editor::testing
