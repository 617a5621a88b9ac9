#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Controls.h"

namespace vorlan {
namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        RECT rect = {0, 0, 400, 300};
        ASSERT_TRUE(window_.CreateEx(0, RegisterFrameworkClass(), "controls", WS_OVERLAPPEDWINDOW, rect, nullptr, 0));
    }
    CWnd window_;
};

TEST_F(ControlsTest, ListColumnsRowsAndTextsRoundTrip) {
    CListCtrl list;
    RECT at = {0, 0, 300, 200};
    ASSERT_TRUE(list.CreateEx(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, at, window_.m_hWnd, 1010));
    EXPECT_EQ(list.InsertColumn(0, "Information Type", LVCFMT_LEFT, 100), 0);
    EXPECT_EQ(list.InsertColumn(1, "Status", LVCFMT_LEFT, 395), 1);
    EXPECT_EQ(list.InsertItem(0, "Vorlan"), 0);
    EXPECT_EQ(list.InsertItem(1, "Second"), 1);
    const std::string texts[] = {"", "Package demo: Part 1 of 2", std::string(1000, 'x')};
    for (const std::string& text : texts) {
        EXPECT_TRUE(list.SetItemText(0, 1, text));
        EXPECT_EQ(list.GetItemText(0, 1), text) << text.size();
    }
    EXPECT_EQ(list.GetItemText(0, 0), "Vorlan");
    EXPECT_EQ(list.GetItemText(1, 0), "Second");
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(5, 0), "") << "a row that is not there";
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(ControlsTest, BalloonTooltipOverAWindow) {
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&window_, TTS_BALLOON));
    EXPECT_TRUE(GetWindowLongA(tip.m_hWnd, GWL_STYLE) & TTS_BALLOON);
    EXPECT_EQ(GetWindow(tip.m_hWnd, GW_OWNER), window_.m_hWnd);
    ASSERT_TRUE(tip.AddTool(window_.m_hWnd, "Support notice"));
    EXPECT_EQ(tip.GetToolCount(), 1);
    EXPECT_EQ(tip.GetText(window_.m_hWnd), "Support notice");
    tip.SetMaxTipWidth(300);
    EXPECT_EQ(tip.SetMaxTipWidth(200), 300);
    tip.SetDelayTime(TTDT_INITIAL, 0);
    EXPECT_EQ(tip.SendMessage(TTM_GETDELAYTIME, TTDT_INITIAL), 0);
    tip.Activate(TRUE);

    CButton check;
    HWND box = CreateWindowA("BUTTON", "c", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 50, 20, window_.m_hWnd, nullptr,
                             nullptr, nullptr);
    ASSERT_TRUE(check.SubclassWindow(box));
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(check.GetCheck(), BST_CHECKED);
}

}  // namespace
}  // namespace vorlan
