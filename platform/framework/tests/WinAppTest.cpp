#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "WinApp.h"

namespace vorlan {
namespace {

constexpr UINT kPosted = WM_APP + 7;

// Records idle calls and the messages it is offered; the second round of
// idle work ends the loop with WM_QUIT 5.
class IdleApp : public CWinApp {
public:
    std::vector<LONG> idles;
    int offered = 0;
    int rounds = 0;

    BOOL OnIdle(LONG count) override {
        idles.push_back(count);
        if (count < 2) return TRUE;
        if (++rounds == 1) PostThreadMessageA(GetCurrentThreadId(), kPosted, 0, 0);
        else PostQuitMessage(5);
        return FALSE;
    }
    bool PreTranslateMessage(MSG* message) override {
        if (message->message == kPosted) ++offered;
        return CWinApp::PreTranslateMessage(message);
    }
};

TEST(WinAppTest, LoopDoesIdleWorkUntilItIsDoneAndAgainAfterEachMessage) {
    IdleApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_EQ(app.Run(), 5);
    EXPECT_EQ(app.idles, (std::vector<LONG>{0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(app.offered, 1);
}

class DialogProgram : public CWinApp {
public:
    std::string commandLine;
    bool ran = false;
    BOOL InitInstance() override {
        commandLine = m_lpCmdLine;
        ran = AfxOleInit() == TRUE;
        return FALSE;  // a dialog program ends when its dialog has closed
    }
    int ExitInstance() override { return 3; }
};

TEST(WinAppTest, ProgramThatAnswersFalseEndsWithItsExitCode) {
    DialogProgram app;
    char commandLine[] = "/SyncNow \"C:\\p.xml\"";
    EXPECT_EQ(AfxWinMain(GetModuleHandleA(nullptr), commandLine, SW_SHOW), 3);
    EXPECT_EQ(app.commandLine, "/SyncNow \"C:\\p.xml\"");
    EXPECT_TRUE(app.ran);
    EXPECT_EQ(app.m_hInstance, GetModuleHandleA(nullptr));
}

}  // namespace
}  // namespace vorlan
