#include "FileWizardFixture.h"

#include <thread>

#include "Bstr.h"
#include "BrowseDriver.h"
#include "SharedFile.h"
#include "pindrel.h"

namespace vorlan::filesync::testing {

using com::Bstr;
using com::ComPtr;
using namespace vorlan::testing;

namespace {

constexpr char kCaption[] = "File Management";

}  // namespace

void FileWizardTest::SetUp() {
    FileSyncSuite::SetUp();
    boxes_ = folder_ / "boxes.txt";
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", "default");
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", boxes_.c_str());
    CLSID clsid = {};
    ASSERT_EQ(CLSIDFromProgID(L"Feldane.VorlanProperties", &clsid), S_OK);
    ASSERT_EQ(com::CreateInstance(clsid, properties_), S_OK);
}

void FileWizardTest::TearDown() {
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", nullptr);
    FileSyncSuite::TearDown();
}

ComPtr<IInfoNode> FileWizardTest::Node(const WizardItem& item) const {
    ComPtr<IInfoNode> node;
    EXPECT_EQ(com::CreateInstance(CLSID_InfoNode, node), S_OK);
    const std::pair<const char*, const std::string*> fields[] = {
        {"OriginUrl", &item.originUrl},           {"Dest", &item.dest}, {"FileAttributes", &item.fileAttributes},
        {"DownloadAttributes", &item.downloadAttributes}, {"QvMy_URL", &item.tableUrl}};
    for (const auto& [name, value] : fields)
        node->SetAt(Bstr::FromAnsi(name).Get(), Bstr::FromAnsi(*value).Get());
    return node;
}

WizardItem FileWizardTest::Stored(IInfoNode* node) {
    WizardItem item;
    const std::pair<const char*, std::string*> fields[] = {
        {"OriginUrl", &item.originUrl},           {"Dest", &item.dest}, {"FileAttributes", &item.fileAttributes},
        {"DownloadAttributes", &item.downloadAttributes}, {"QvMy_URL", &item.tableUrl}};
    for (const auto& [name, value] : fields) {
        Bstr text;
        node->GetProperty(Bstr::FromAnsi(name).Get(), text.Put());
        *value = text.Ansi();
    }
    return item;
}

HRESULT FileWizardTest::RunWizard(IInfoNode* node, const std::function<void(HWND sheet)>& steps) {
    bool saw = false;
    std::thread driver([&] {
        HWND sheet = WaitForDialog(kCaption);
        if (!sheet) return;
        saw = true;
        steps(sheet);
        // A sheet that was finished goes once its loop looks again.
        if (!WaitUntil([&] { return !IsWindow(sheet); }, 500)) Press(sheet, PSBTN_CANCEL);
    });
    IInfoNode* raw = node;
    const HRESULT hr = properties_->ConfigNodeDlg(&raw, VARIANT_FALSE);
    driver.join();
    EXPECT_TRUE(saw) << "the wizard never showed";
    EXPECT_EQ(raw, node);
    return hr;
}

std::vector<std::string> FileWizardTest::Boxes() const {
    std::vector<std::string> texts;
    for (const auto& line : ReadJournal(boxes_))
        if (line.size() > 2) texts.push_back(line[1] + ": " + line[2]);
    return texts;
}

}  // namespace vorlan::filesync::testing
