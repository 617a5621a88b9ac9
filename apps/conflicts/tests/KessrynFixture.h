#pragma once
// What Kessryn's tests share: %APPDATA% in a folder of the test's own, an
// emulated device named Field-07 with the device library installed, the
// window made and shown in this process, and message boxes answered and
// recorded.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DeviceEmulator.h"
#include "KessrynDlg.h"
#include "MessageBox.h"
#include "TestSupport.h"

namespace vorlan::conflicts::testing {

class KessrynSuite : public ::testing::Test {
public:
    KessrynSuite();

protected:
    void SetUp() override;
    void TearDown() override;

    // The window made, shown and loaded.
    void Open(CKessrynDlg& dialog);
    // The texts of the boxes shown so far.
    std::vector<std::string> BoxTexts() const;

    vorlan::testing::DeviceEmulator device_;
    vorlan::testing::ScopedAppData appData_;
    std::string statePath_;
    std::vector<MessageBoxRequest> boxes_;
    ScopedMessageBoxAnswerer answerer_{[this](const MessageBoxRequest& box) {
        boxes_.push_back(box);
        return IDOK;
    }};

};

}  // namespace vorlan::conflicts::testing
