#include <gtest/gtest.h>

#include <windows.h>

#include "ActiveSyncMsg.h"
#include "ServiceManagerProcess.h"
#include "TestSupport.h"

namespace vorlan {
namespace {

using Line = std::vector<std::string>;

using ServiceManager = testing::ServiceManagerProcess;

TEST(ActiveSyncHostTest, ProgressLinesReachTheStatusLine) {
    ServiceManager manager;
    ASSERT_TRUE(manager.Started());
    CActiveSyncMsg msg;
    EXPECT_EQ(msg.FindRunnerList(), nullptr);
    EXPECT_TRUE(msg.SetStatus("Vorlan", "Package Main: Part 1 of 2"));
    EXPECT_TRUE(msg.SetStatus("ignored outside the runner", "Package \xC3\x89t\xC3\xA9: Part 2 of 2"));
    EXPECT_EQ(manager.Lines("status"), (std::vector<Line>{{"Vorlan: Package Main: Part 1 of 2"},
                                                          {"Vorlan: Package \xC3\x89t\xC3\xA9: Part 2 of 2"}}));
}

TEST(ActiveSyncHostTest, BalloonsReachTheTrayIconWithTheirTimeToLive) {
    ServiceManager manager;
    ASSERT_TRUE(manager.Started());
    EXPECT_EQ(manager.Lines("icon"), (std::vector<Line>{{"add", "DccMan", "1", "ActiveSync"}}));

    CActiveSyncMsg msg;
    EXPECT_TRUE(msg.ShowBalloon("Dravenhall Sync", "The file \\Temp\\x.txt cannot be written.", 4500));
    EXPECT_TRUE(msg.ShowBalloon(std::string(100, 'T'), std::string(400, 'x') , 3000));
    // A cut never splits a character: 254 letters and a two-unit character
    // leave the letters only.
    EXPECT_TRUE(msg.ShowBalloon("t", std::string(254, 'y') + "\xF0\x9F\x98\x80", 3000));
    std::vector<Line> balloons = manager.Lines("balloon");
    ASSERT_EQ(balloons.size(), 3u);
    EXPECT_EQ(balloons[0],
              (Line{"DccMan", "1", "4500", "Dravenhall Sync", "The file \\Temp\\x.txt cannot be written.", "3"}));
    EXPECT_EQ(balloons[1], (Line{"DccMan", "1", "3000", std::string(63, 'T'), std::string(255, 'x'), "3"}));
    EXPECT_EQ(balloons[2][4], std::string(254, 'y'));

    manager.Stop();
    ASSERT_TRUE(manager.WaitForExit());
    EXPECT_EQ(manager.Lines().back(), Line{"stopped"});
    EXPECT_EQ(manager.Lines("icon").back(), (Line{"delete", "DccMan", "1", ""}));
    EXPECT_FALSE(msg.ShowBalloon("Dravenhall Sync", "gone", 3000)) << "no DccMan window";
    EXPECT_FALSE(msg.SetStatus("Vorlan", "gone")) << "the synchronisation window is closed";
}

// A synchronisation window of this process, built as far as depth.
class PartialSyncWindow {
public:
    explicit PartialSyncWindow(int depth) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SyncMgrUI";
        RegisterClassA(&wc);
        top_ = CreateWindowA("SyncMgrUI", "ActiveSync", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                             wc.hInstance, nullptr);
        HWND parent = top_;
        const struct {
            const char* title;
            int id;
        } levels[] = {{"ViewTopPane", 0}, {"", 0xE900}, {"", 5023}};
        for (int i = 0; i < depth; ++i)
            parent = last_ = CreateWindowA("STATIC", levels[i].title, WS_CHILD, 0, 0, 10, 10, parent,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(levels[i].id)),
                                           wc.hInstance, nullptr);
    }
    ~PartialSyncWindow() { DestroyWindow(top_); }
    std::string LastText() const { return testing::WindowText(last_); }

private:
    HWND top_ = nullptr;
    HWND last_ = nullptr;
};

TEST(ActiveSyncHostTest, AnIncompleteSynchronisationWindowTakesNothing) {
    CActiveSyncMsg msg;
    for (int depth = 0; depth < 3; ++depth) {
        PartialSyncWindow window(depth);
        EXPECT_FALSE(msg.SetStatus("Vorlan", "x")) << "levels present: " << depth;
    }
    PartialSyncWindow complete(3);
    EXPECT_TRUE(msg.SetStatus("Vorlan", "x"));
    EXPECT_EQ(complete.LastText(), "Vorlan: x");
}

TEST(ActiveSyncHostTest, WhichHostIsTheRunner) {
    struct Case {
        const char* path;
        bool runner;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Dravenhall\\Stelmar.exe", true},
        {"C:\\TOOLS\\STELMAR\\host.exe", true},
        {"c:\\x\\stelmar_host_status_tests.exe", true},
        {"C:\\Program Files\\Microsoft ActiveSync\\wcesmgr.exe", false},
        {"C:\\Stelma\\r.exe", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsRunnerHostPath(c.path), c.runner) << c.path;
}

}  // namespace
}  // namespace vorlan
