#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "Controls.h"
#include "Wnd.h"

namespace vorlan {
namespace {

std::vector<std::string> g_calls;

// A button that answers its own clicks (reflection): its parent never
// hears of them.
class SelfClickingButton : public CButton {
    void OnReflectedClick() { g_calls.push_back("button's own click"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(SelfClickingButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnReflectedClick)
END_MESSAGE_MAP()

class CountingList : public CListCtrl {
    void OnInserted(NMHDR*, LRESULT* result) {
        g_calls.push_back("list's own insert");
        *result = 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CountingList, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_INSERTITEM, OnInserted)
END_MESSAGE_MAP()

class BaseWindow : public CWnd {
protected:
    void OnFirst() { g_calls.push_back("base first"); }
    void OnSecond() { g_calls.push_back("base second"); }
    void OnThird() { g_calls.push_back("base third"); }
    void OnInsertedHere(NMHDR*, LRESULT*) { g_calls.push_back("parent's insert"); }
    LRESULT OnPing(WPARAM wParam, LPARAM) {
        g_calls.push_back("ping " + std::to_string(wParam));
        return 42;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BaseWindow, CWnd)
    ON_BN_CLICKED(1, OnFirst)
    ON_BN_CLICKED(2, OnSecond)
    ON_BN_CLICKED(3, OnThird)
    ON_NOTIFY(LVN_INSERTITEM, 5, OnInsertedHere)
    ON_MESSAGE(WM_APP, OnPing)
END_MESSAGE_MAP()

// Overrides one entry of its base, adds others, and keeps the rest.
class DerivedWindow : public BaseWindow {
    void OnSecondHere() { g_calls.push_back("derived second"); }
    void OnRange() { g_calls.push_back("range"); }
    void OnTimer(UINT_PTR id) { g_calls.push_back("timer " + std::to_string(id)); }
    void OnDestroy() { g_calls.push_back("destroy"); }
    HBRUSH OnCtlColor(HDC, HWND, UINT kind) {
        g_calls.push_back("colour " + std::to_string(kind));
        return kind == CTLCOLOR_STATIC ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)) : nullptr;
    }
    void OnChanged(NMHDR* header, LRESULT*) {
        g_calls.push_back("item changed " + std::to_string(reinterpret_cast<NMLISTVIEW*>(header)->iItem));
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DerivedWindow, BaseWindow)
    ON_BN_CLICKED(2, OnSecondHere)
    ON_COMMAND_RANGE(10, 12, OnRange)
    ON_NOTIFY(LVN_ITEMCHANGED, 5, OnChanged)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        g_calls.clear();
        RECT rect = {0, 0, 300, 200};
        ASSERT_TRUE(window_.CreateEx(0, RegisterFrameworkClass(), "map", WS_OVERLAPPEDWINDOW, rect, nullptr, 0));
        for (int id = 1; id <= 4; ++id) {
            RECT at = {0, id * 20, 80, id * 20 + 18};
            buttons_[id - 1] = CreateWindowA("BUTTON", "b", WS_CHILD | BS_PUSHBUTTON, at.left, at.top, 80, 18,
                                             window_.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                             nullptr, nullptr);
        }
        ASSERT_TRUE(selfClicking_.SubclassWindow(buttons_[2]));
    }

    DerivedWindow window_;
    HWND buttons_[4] = {};
    SelfClickingButton selfClicking_;
};

TEST_F(MessageMapTest, CommandsReachTheEntryOfTheMostDerivedClassOrTheControlItself) {
    struct Case {
        const char* note;
        WPARAM wParam;
        int button;  // index+1 of the button as lParam, 0 for none
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"base entry kept", MAKEWPARAM(1, BN_CLICKED), 1, {"base first"}},
        {"derived entry overrides the base's", MAKEWPARAM(2, BN_CLICKED), 2, {"derived second"}},
        {"reflected to the control, parent not called", MAKEWPARAM(3, BN_CLICKED), 3, {"button's own click"}},
        {"no entry", MAKEWPARAM(4, BN_CLICKED), 4, {}},
        {"other notification code", MAKEWPARAM(1, BN_SETFOCUS), 1, {}},
        {"menu command in a range", MAKEWPARAM(11, 0), 0, {"range"}},
        {"accelerator command in a range", MAKEWPARAM(12, 1), 0, {"range"}},
        {"outside the range", MAKEWPARAM(13, 0), 0, {}},
    };
    for (const Case& c : cases) {
        g_calls.clear();
        LPARAM control = c.button ? reinterpret_cast<LPARAM>(buttons_[c.button - 1]) : 0;
        SendMessageA(window_.m_hWnd, WM_COMMAND, c.wParam, control);
        EXPECT_EQ(g_calls, c.want) << c.note;
    }
    g_calls.clear();
    SendMessageA(buttons_[0], BM_CLICK, 0, 0);
    SendMessageA(buttons_[2], BM_CLICK, 0, 0);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"base first", "button's own click"})) << "real clicks";
}

TEST_F(MessageMapTest, NotificationsAndPlainMessages) {
    EXPECT_EQ(SendMessageA(window_.m_hWnd, WM_APP, 7, 0), 42);
    EXPECT_EQ(g_calls, std::vector<std::string>{"ping 7"});

    RECT at = {100, 0, 300, 150};
    CWnd plainList;
    ASSERT_TRUE(plainList.CreateEx(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, at, window_.m_hWnd, 5));
    CListCtrl list;
    list.m_hWnd = plainList.m_hWnd;  // a plain view for the calls below
    g_calls.clear();
    list.InsertColumn(0, "c", LVCFMT_LEFT, 50);
    list.InsertItem(0, "row");
    LVITEMA state = {};
    state.stateMask = state.state = LVIS_SELECTED;
    list.SendMessage(LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"parent's insert", "item changed 0"}));
    list.m_hWnd = nullptr;

    // A list whose object answers its own insert notification.
    plainList.DestroyWindow();
    HWND other = CreateWindowA(WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 100, 100, window_.m_hWnd,
                               reinterpret_cast<HMENU>(5), nullptr, nullptr);
    CountingList counting;
    ASSERT_TRUE(counting.SubclassWindow(other));
    g_calls.clear();
    counting.InsertColumn(0, "c");
    counting.InsertItem(0, "row");
    EXPECT_EQ(g_calls, std::vector<std::string>{"list's own insert"});
}

TEST_F(MessageMapTest, TimersDestructionAndControlColours) {
    SendMessageA(window_.m_hWnd, WM_TIMER, 9, 0);
    EXPECT_EQ(g_calls, std::vector<std::string>{"timer 9"});

    // Every control colour message reaches the one entry with its kind; a
    // null brush leaves the colours to the window's default handling.
    HDC dc = GetDC(window_.m_hWnd);
    g_calls.clear();
    EXPECT_EQ(SendMessageA(window_.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(buttons_[0])),
              reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH)));
    LRESULT edit = SendMessageA(window_.m_hWnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(buttons_[0]));
    EXPECT_NE(edit, 0) << "the default handling answered";
    EXPECT_EQ(g_calls, (std::vector<std::string>{"colour " + std::to_string(CTLCOLOR_STATIC),
                                                 "colour " + std::to_string(CTLCOLOR_EDIT)}));
    ReleaseDC(window_.m_hWnd, dc);

    g_calls.clear();
    window_.DestroyWindow();
    EXPECT_EQ(g_calls, std::vector<std::string>{"destroy"});
}

TEST_F(MessageMapTest, HandleMapFollowsTheWindowsLife) {
    HWND window = window_.m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(window), &window_);
    EXPECT_EQ(CWnd::FromHandlePermanent(buttons_[2]), &selfClicking_);
    EXPECT_EQ(CWnd::FromHandlePermanent(buttons_[0]), nullptr);

    // A second object cannot take a window that has one.
    CButton again;
    EXPECT_FALSE(again.SubclassWindow(buttons_[2]));
    EXPECT_FALSE(again.Attach(window));

    // Unsubclassing gives the window its own procedure back.
    CButton plain;
    auto original = GetWindowLongPtrA(buttons_[3], GWLP_WNDPROC);
    ASSERT_TRUE(plain.SubclassWindow(buttons_[3]));
    EXPECT_NE(GetWindowLongPtrA(buttons_[3], GWLP_WNDPROC), original);
    EXPECT_EQ(plain.UnsubclassWindow(), buttons_[3]);
    EXPECT_EQ(GetWindowLongPtrA(buttons_[3], GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(buttons_[3]), nullptr);

    // Destroying the window unties it from its object and its children's.
    EXPECT_TRUE(window_.DestroyWindow());
    EXPECT_EQ(window_.m_hWnd, nullptr);
    EXPECT_EQ(selfClicking_.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(window), nullptr);

    // An object that goes first takes the window it made with it.
    HWND made;
    {
        CWnd owner;
        RECT rect = {0, 0, 10, 10};
        ASSERT_TRUE(owner.CreateEx(0, RegisterFrameworkClass(), "", WS_POPUP, rect, nullptr, 0));
        made = owner.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(made));
}

}  // namespace
}  // namespace vorlan
