#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <future>

#include "ActiveSyncMsg.h"
#include "ServiceManagerProcess.h"
#include "TestSupport.h"

namespace vorlan {
namespace {

// The runner's dialog as the core sees it: a window titled "Stelmar" whose
// first list view holds a row per source of progress lines.
class RunnerWindow {
public:
    explicit RunnerWindow(std::vector<std::string> rows) {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        window_ = CreateWindowA("STATIC", "Stelmar", WS_OVERLAPPED, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                                nullptr);
        CreateWindowA("BUTTON", "Close", WS_CHILD, 0, 0, 10, 10, window_, nullptr, nullptr, nullptr);
        list_ = CreateWindowA(WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 300, 200, window_, nullptr, nullptr,
                              nullptr);
        for (int c = 0; c < 2; ++c) {
            LVCOLUMNA column = {};
            column.mask = LVCF_WIDTH;
            column.cx = 100;
            SendMessageA(list_, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
        }
        for (size_t r = 0; r < rows.size(); ++r) {
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(r);
            item.pszText = rows[r].data();
            SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    ~RunnerWindow() { DestroyWindow(window_); }
    HWND List() const { return list_; }
    std::string Cell(int row, int column) const { return testing::ListViewText(list_, row, column); }

private:
    HWND window_ = nullptr;
    HWND list_ = nullptr;
};

// Calls SetStatus on a thread of its own, as the runner's worker does, while
// this thread keeps serving the windows.
BOOL SetStatusFromWorker(const std::string& item, const std::string& text) {
    auto result = std::async(std::launch::async, [&] { return CActiveSyncMsg().SetStatus(item, text); });
    while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return result.get();
}

TEST(RunnerHostTest, ProgressLinesGoToTheRunnersList) {
    RunnerWindow runner({"Core", "Vorlan"});
    CActiveSyncMsg msg;
    EXPECT_EQ(msg.FindRunnerList(), runner.List());
    EXPECT_TRUE(SetStatusFromWorker("Vorlan", "Package Main: Part 3 of 10"));
    EXPECT_EQ(runner.Cell(1, 1), "Package Main: Part 3 of 10");
    EXPECT_EQ(runner.Cell(0, 1), "");
}

TEST(RunnerHostTest, RowsMatchExactly) {
    RunnerWindow runner({"vorlan", "Vorlan2", "Vorlan", "Vorlan"});
    CActiveSyncMsg msg;
    EXPECT_EQ(msg.FindListRow(runner.List(), "Vorlan"), 2) << "the first exact match";
    EXPECT_EQ(msg.FindListRow(runner.List(), "Vorla"), -1);
    EXPECT_EQ(msg.FindListRow(runner.List(), ""), -1);
    EXPECT_EQ(msg.FindListRow(nullptr, "Vorlan"), -1);
    RunnerWindow empty({});
    EXPECT_EQ(msg.FindListRow(empty.List(), "Vorlan"), -1);
}

TEST(RunnerHostTest, NothingGoesElsewhereInTheRunner) {
    testing::ServiceManagerProcess activeSync;
    ASSERT_TRUE(activeSync.Started());
    RunnerWindow runner({"Core"});
    EXPECT_FALSE(SetStatusFromWorker("Vorlan", "x")) << "no row named Vorlan";
    EXPECT_FALSE(SetStatusFromWorker("", "x")) << "an empty item names no row";
    EXPECT_EQ(runner.Cell(0, 1), "");
    RunnerWindow withRow({"Vorlan"});
    EXPECT_TRUE(SetStatusFromWorker("Vorlan", "y"));
    EXPECT_TRUE(activeSync.Lines("status").empty()) << "ActiveSync's status line gets nothing in the runner";
}

TEST(RunnerHostTest, WithoutTheRunnersWindowNothingHappens) {
    CActiveSyncMsg msg;
    EXPECT_EQ(msg.FindRunnerList(), nullptr);
    EXPECT_FALSE(SetStatusFromWorker("Vorlan", "x"));
}

}  // namespace
}  // namespace vorlan
