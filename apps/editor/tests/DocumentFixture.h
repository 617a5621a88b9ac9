#pragma once
// What the document's tests share: answered message boxes and a suite with
// COM, the plug-in list and a folder of tables.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "HostSupport.h"
#include "MessageBox.h"
#include "TestSupport.h"
#include "VorlanPlugin.h"

namespace vorlan::editor::testing {

// Every message box answered and kept for the test to read.
class RecordedBoxes {
public:
    explicit RecordedBoxes(int answer = IDOK);
    std::vector<MessageBoxRequest> Taken();
    void SetAnswer(int answer) { answer_ = answer; }

private:
    int answer_;
    std::mutex guard_;
    std::vector<MessageBoxRequest> boxes_;
    ScopedMessageBoxAnswerer answerer_;
};

// The tests' common ground: COM, the plug-in list, a folder for tables.
class DocumentSuite : public ::testing::Test {
protected:
    // Writes a table file into the folder; its path.
    std::string Put(const std::string& name, const std::string& text);
    // A table opened at url (mode 0), asserting the result.
    std::unique_ptr<CVorlanPlugin> Open(const std::string& url, HRESULT expected = S_OK);
    // "Name" of every row, joined with ",".
    static std::string Names(const CVorlanPlugin& table);
    // The row's fields as "k=v;" in its own order.
    static std::string RowText(CVorlanPlugin& table, int row);

    vorlan::testing::ComScope com_;
    ScopedPluginList list_;
    vorlan::testing::TempFolder folder_;
};

}  // namespace vorlan::editor::testing
