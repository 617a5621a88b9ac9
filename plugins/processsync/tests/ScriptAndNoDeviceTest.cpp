// Both plug-ins as a script host uses them, and both without a device.
#include <gtest/gtest.h>

#include "DevicePluginSuite.h"
#include "ProcessSync.h"
#include "Shortcut.h"
#include "VorlanMessages.h"

namespace vorlan::testing {
namespace {

class ScriptAndNoDeviceTest : public DevicePluginSuite {};

TEST_F(ScriptAndNoDeviceTest, AScriptReachesTheDeviceWithEveryField) {
    ASSERT_TRUE(device->QueueMessageBoxAnswer(IDNO));
    ASSERT_EQ(RunProgram("cscript //nologo \"" + WindowsPath(SCRIPT_PATH) + "\""), 0);
    const auto boxes = device->Journal("msgbox");
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().Get("text"), "Replace the files?");
    EXPECT_EQ(boxes.back().Get("caption"), "Vorlan");
    EXPECT_EQ(boxes.back().Get("type"), "4");
    EXPECT_EQ(boxes.back().Get("answer"), "7");
    const auto bubbles = device->Journal("notification");
    ASSERT_FALSE(bubbles.empty());
    EXPECT_EQ(bubbles.back().Get("html"), "<b>Synchronised</b>");
    EXPECT_EQ(bubbles.back().Get("title"), "Vorlan");
    EXPECT_EQ(bubbles.back().Get("csDuration"), "7");
    EXPECT_EQ(bubbles.back().Get("grfFlags"), "0");
    const auto links = device->Journal("shortcut");
    ASSERT_FALSE(links.empty());
    EXPECT_EQ(links.back().Get("path"), "\\Windows\\Start Menu\\Scripted.lnk");
    EXPECT_EQ(links.back().Get("target"), "\"\\Windows\\sleeper.exe\"");
    EXPECT_EQ(links.back().Get("error"), "0");
}

TEST_F(ScriptAndNoDeviceTest, WithoutADeviceInitFailsAfterItsWait) {
    wchar_t reachable[MAX_PATH] = {};
    GetEnvironmentVariableW(L"VORLAN_DEVICE", reachable, MAX_PATH);
    SetEnvironmentVariableW(L"VORLAN_DEVICE", L"C:\\no such device");
    processsync::CProcessSync program;
    shortcutsync::CShortcut shortcut;
    for (IMySync* engine : {static_cast<IMySync*>(&program), static_cast<IMySync*>(&shortcut)}) {
        MarkEvents();
        UseSuiteSource(*engine);
        const DWORD start = GetTickCount();
        EXPECT_TRUE(FAILED(engine->Init()));
        const DWORD waited = GetTickCount() - start;
        EXPECT_GE(waited, 1900u);
        EXPECT_LT(waited, 4000u);
        ExpectOneEvent(EVT_DEVICE_NOT_CONNECTED);
    }
    SetEnvironmentVariableW(L"VORLAN_DEVICE", reachable);
}

}  // namespace
}  // namespace vorlan::testing
