// The list view's rows, data and sorting, the tree view, image lists and
// bitmap buttons, on real windows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "BitmapButton.h"
#include "Controls.h"
#include "ImageList.h"
#include "TreeCtrl.h"

namespace vorlan {
namespace {

class ViewControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        RECT rect = {0, 0, 400, 300};
        ASSERT_TRUE(window_.CreateEx(0, RegisterFrameworkClass(), "views", WS_OVERLAPPEDWINDOW, rect, nullptr, 0));
    }
    CWnd window_;
};

int CALLBACK ByDataDescending(LPARAM a, LPARAM b, LPARAM) { return a < b ? 1 : a > b ? -1 : 0; }

TEST_F(ViewControlsTest, ListRowsCarryDataImagesAndSortByACallback) {
    CListCtrl list;
    RECT at = {0, 0, 300, 200};
    ASSERT_TRUE(list.CreateEx(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT | LVS_SHAREIMAGELISTS, at, window_.m_hWnd,
                              1010));
    ASSERT_EQ(list.InsertColumn(0, "Name", LVCFMT_LEFT, 80), 0);
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1));
    ASSERT_EQ(images.Add(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))), 0);
    EXPECT_EQ(list.SetImageList(images.m_hImageList, LVSIL_SMALL), nullptr);
    EXPECT_EQ(list.GetImageList(LVSIL_SMALL), images.m_hImageList);

    const char* names[] = {"b", "c", "a"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(list.InsertItem(i, names[i], i == 1 ? 0 : -1), i);
        EXPECT_TRUE(list.SetItemData(i, static_cast<DWORD_PTR>(10 + i)));
    }
    EXPECT_EQ(list.GetItemImage(1), 0);
    EXPECT_EQ(list.GetItemData(2), 12u);
    EXPECT_EQ(list.GetItemData(7), 0u) << "a row that is not there";
    EXPECT_EQ(list.FindItem("A"), 2);
    EXPECT_EQ(list.FindItem("zz"), -1);

    EXPECT_TRUE(list.SortItems(&ByDataDescending, 0));
    std::vector<std::string> order;
    for (int i = 0; i < list.GetItemCount(); ++i) order.push_back(list.GetItemText(i, 0));
    EXPECT_EQ(order, (std::vector<std::string>{"a", "c", "b"}));

    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), -1);
    EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
    EXPECT_TRUE(list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED));
    EXPECT_EQ(list.GetSelectedItems(), (std::vector<int>{1, 2}));
    EXPECT_EQ(list.GetSelectedCount(), 2u);

    EXPECT_TRUE(list.SetColumnWidth(0, 120));
    EXPECT_EQ(list.GetColumnWidth(0), 120);
    EXPECT_GT(list.GetStringWidth("a longer text"), list.GetStringWidth("a"));
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetItemCount(), 2);
}

TEST_F(ViewControlsTest, TreeItemsNavigateSelectAndExpand) {
    CTreeCtrl tree;
    RECT at = {0, 0, 300, 200};
    ASSERT_TRUE(tree.CreateEx(0, WC_TREEVIEWA, "", WS_CHILD | TVS_HASBUTTONS, at, window_.m_hWnd, 1011));
    HTREEITEM root = tree.InsertItem("\\", 0, 1);
    ASSERT_NE(root, nullptr);
    HTREEITEM windows = tree.InsertItem("Windows", 0, 1, root);
    HTREEITEM data = tree.InsertItem("Data", 0, 1, root);
    HTREEITEM fonts = tree.InsertItem(std::string(400, 'f'), 0, 1, windows);
    EXPECT_EQ(tree.GetRootItem(), root);
    EXPECT_EQ(tree.GetChildItem(root), windows);
    EXPECT_EQ(tree.GetNextSiblingItem(windows), data);
    EXPECT_EQ(tree.GetNextSiblingItem(data), nullptr);
    EXPECT_EQ(tree.GetParentItem(fonts), windows);
    EXPECT_EQ(tree.GetParentItem(root), nullptr);
    EXPECT_EQ(tree.GetItemText(fonts), std::string(400, 'f')) << "longer than a path";
    EXPECT_TRUE(tree.SetItemText(data, "Daten"));
    EXPECT_EQ(tree.GetItemText(data), "Daten");
    EXPECT_TRUE(tree.ItemHasChildren(windows));
    EXPECT_FALSE(tree.ItemHasChildren(data));
    EXPECT_EQ(tree.GetCount(), 4u);

    EXPECT_TRUE(tree.Expand(root, TVE_EXPAND));
    EXPECT_TRUE(tree.GetItemState(root, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(tree.SelectItem(windows));
    EXPECT_EQ(tree.GetSelectedItem(), windows);
    EXPECT_TRUE(tree.DeleteItem(windows));
    EXPECT_EQ(tree.GetChildItem(root), data);
    EXPECT_EQ(tree.GetCount(), 2u);
}

TEST_F(ViewControlsTest, ImageListsMadeHereGoAndTheSystemListStays) {
    {
        CImageList own;
        ASSERT_TRUE(own.Create(16, 16, ILC_COLOR32 | ILC_MASK, 7, 1));
        EXPECT_EQ(own.Add(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))), 0);
        EXPECT_EQ(own.AddIcon(GetModuleHandleA(nullptr), 4242), -1) << "no such icon";
        EXPECT_EQ(own.GetImageCount(), 1);
        int width = 0, height = 0;
        EXPECT_TRUE(own.GetIconSize(width, height));
        EXPECT_EQ(width, 16);
    }
    HIMAGELIST shared = nullptr;
    {
        CImageList system;
        ASSERT_TRUE(system.AttachSystemSmall());
        shared = system.m_hImageList;
        EXPECT_GT(system.GetImageCount(), 0);
    }
    // Let go, not destroyed: the next one gets the same list, still working.
    CImageList again;
    ASSERT_TRUE(again.AttachSystemSmall());
    EXPECT_EQ(again.m_hImageList, shared);
    int width = 0, height = 0;
    EXPECT_TRUE(ImageList_GetIconSize(shared, &width, &height));
    EXPECT_GT(width, 0);
}

// The colour a bitmap button draws into a memory picture for a state.
COLORREF DrawnColour(HWND parent, CBitmapButton& button, UINT state) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, 20, 12);
    HGDIOBJ old = SelectObject(memory, picture);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(button.m_hWnd));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = button.m_hWnd;
    item.hDC = memory;
    item.rcItem = {0, 0, 20, 12};
    // Sent to the parent, as the button sends it: the parent reflects it.
    SendMessageA(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    const COLORREF colour = GetPixel(memory, 10, 6);
    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colour;
}

TEST_F(ViewControlsTest, BitmapButtonDrawsTheFormOfItsState) {
    HWND plain = CreateWindowA("BUTTON", "SWATCH", WS_CHILD | BS_PUSHBUTTON, 5, 5, 80, 30, window_.m_hWnd,
                               reinterpret_cast<HMENU>(1012), GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(plain, nullptr);
    CBitmapButton button;
    ASSERT_TRUE(button.AutoLoad(1012, &window_, "SWATCH"));
    EXPECT_EQ(GetWindowLongA(plain, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    RECT r = {};
    GetWindowRect(plain, &r);
    EXPECT_EQ(r.right - r.left, 20);
    EXPECT_EQ(r.bottom - r.top, 12);
    struct Case {
        UINT state;
        COLORREF colour;
    } const cases[] = {
        {0, RGB(0xFF, 0, 0)},
        {ODS_SELECTED, RGB(0xFF, 0, 0)},  // no pressed form: up
        {ODS_FOCUS, RGB(0xFF, 0, 0)},
        {ODS_DISABLED, RGB(0x80, 0x80, 0x80)},
    };
    for (const Case& c : cases) EXPECT_EQ(DrawnColour(window_.m_hWnd, button, c.state), c.colour) << c.state;

    CBitmapButton missing;
    HWND other = CreateWindowA("BUTTON", "x", WS_CHILD, 0, 0, 10, 10, window_.m_hWnd, reinterpret_cast<HMENU>(1013),
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(missing.AutoLoad(1013, &window_, "NOSUCH"));
    CBitmapButton unplaced;
    EXPECT_FALSE(unplaced.AutoLoad(1099, &window_, "SWATCH")) << "no such button";
}

}  // namespace
}  // namespace vorlan
