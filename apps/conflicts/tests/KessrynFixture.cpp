#include "KessrynFixture.h"

#include <ole2.h>

namespace vorlan::conflicts::testing {

KessrynSuite::KessrynSuite() : device_(std::string(vorlan::testing::kVorlanInstalled) + "DeviceName = Field-07\n") {}

void KessrynSuite::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    device_.UseForRapi();
    ASSERT_TRUE(device_.InstallOstrum());
    statePath_ = appData_ / "Dravenhall\\Vorlan\\TwoWaySyncData-Field-07.ini";
    CreateDirectoryA((appData_ / "Dravenhall").c_str(), nullptr);
    CreateDirectoryA((appData_ / "Dravenhall\\Vorlan").c_str(), nullptr);
}

void KessrynSuite::TearDown() { CoUninitialize(); }

void KessrynSuite::Open(CKessrynDlg& dialog) {
    ASSERT_TRUE(dialog.Create()) << dialog.LastError();
    ShowWindow(dialog.m_hWnd, SW_SHOW);
    vorlan::testing::PumpMessages(30);
}

std::vector<std::string> KessrynSuite::BoxTexts() const {
    std::vector<std::string> texts;
    for (const MessageBoxRequest& box : boxes_) texts.push_back(box.text);
    return texts;
}

}  // namespace vorlan::conflicts::testing
