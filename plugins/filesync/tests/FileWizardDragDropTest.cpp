// The folder page's filter lists as drop targets and drag sources: text
// handed to a list's registered target, and rows dragged between the lists
// by the system's own drag (the cursor placed over the target; no button
// held, so the drag drops at once).
#include <gtest/gtest.h>

#include "BrowseDriver.h"
#include "ComPtr.h"
#include "FileWizardFixture.h"
#include "OleDataSource.h"
#include "OleScope.h"
#include "Resource.h"

namespace vorlan::filesync::testing {
namespace {

using namespace vorlan::testing;
using Rows = std::vector<std::string>;

// The target the system registered for a window.
IDropTarget* RegisteredTarget(HWND window) {
    return static_cast<IDropTarget*>(GetPropW(window, L"OleDropTargetInterface"));
}

HWND PageList(HWND sheet, int id) { return GetDlgItem(PageWindow(sheet), id); }

// The cursor over window, with the sheet above other programs' windows on
// the shared screen, so the drop lands there; false when it cannot be.
bool PointAt(HWND window) {
    SetWindowPos(GetAncestor(window, GA_ROOT), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT r = {};
    GetWindowRect(window, &r);
    const POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return WaitUntil([&] {
        SetCursorPos(at.x, at.y);
        HWND under = WindowFromPoint(at);
        return under == window || under == GetParent(window);
    });
}

// The user starting to drag the selected rows of a list.
void BeginDrag(HWND sheet, int listId) {
    NMLISTVIEW drag = {};
    drag.hdr.hwndFrom = PageList(sheet, listId);
    drag.hdr.idFrom = static_cast<UINT_PTR>(listId);
    drag.hdr.code = LVN_BEGINDRAG;
    drag.iItem = SelectedRow(drag.hdr.hwndFrom);
    SendMessageA(PageWindow(sheet), WM_NOTIFY, drag.hdr.idFrom, reinterpret_cast<LPARAM>(&drag));
}

void SelectRows(HWND list, const std::vector<int>& rows) {
    SelectRow(list, -1);
    for (int row : rows) {
        LVITEMA state = {};
        state.stateMask = state.state = LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
}

const WizardItem kFolderItem = {"docs", "\\docs", "QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=a:b:c:d", "", ""};

TEST_F(FileWizardTest, TextDroppedOnAListBecomesRowsByTheKeyStateItIsHanded) {
    const struct {
        const char* name;
        const char* text;  // nullptr: data without text
        DWORD keys;
        DWORD effect;
        Rows exclude;
        const char* box;
    } cases[] = {
        {"lines moved", "a\r\nb\nc", MK_LBUTTON, DROPEFFECT_MOVE, {"a", "b", "c"}, nullptr},
        {"lines copied with Ctrl", "a\r\nb\nc", MK_LBUTTON | MK_CONTROL, DROPEFFECT_COPY, {"a", "b", "c"}, nullptr},
        {"blank lines and blanks around", "  *.txt \r\n\r\n\t~*\r\n", MK_LBUTTON, DROPEFFECT_MOVE, {"*.txt", "~*"},
         nullptr},
        {"no text", nullptr, MK_LBUTTON, DROPEFFECT_NONE, {}, nullptr},
        {"a pattern with a separator", "ok\r\n*.txt:*.doc", MK_LBUTTON, DROPEFFECT_NONE, {},
         "Feldane: Filters cannot contain ':' or '|'."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WizardItem item = kFolderItem;
        item.tableUrl = TableUrl();
        auto node = Node(item);
        DWORD entered = 0xFF, dropped = 0xFF;
        Rows exclude, include;
        const size_t boxesBefore = Boxes().size();
        RunWizard(node.Get(), [&](HWND sheet) {
            ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
            IDropTarget* target = RegisteredTarget(PageList(sheet, IDC_EXCLUDE_LIST));
            ASSERT_NE(target, nullptr) << "the list registered no drop target";
            OleScope ole;
            COleDataSource source;
            if (c.text) source.CacheText(std::string(c.text));
            const POINTL at = {10, 10};
            entered = DROPEFFECT_COPY | DROPEFFECT_MOVE;
            target->DragEnter(source.GetDataObject(), c.keys, at, &entered);
            DWORD over = DROPEFFECT_COPY | DROPEFFECT_MOVE;
            target->DragOver(c.keys, at, &over);
            EXPECT_EQ(over, entered);
            dropped = DROPEFFECT_COPY | DROPEFFECT_MOVE;
            target->Drop(source.GetDataObject(), c.keys, at, &dropped);
            exclude = Column(PageList(sheet, IDC_EXCLUDE_LIST), 0);
            include = Column(PageList(sheet, IDC_INCLUDE_LIST), 0);
        });
        EXPECT_EQ(entered, c.text ? (c.keys & MK_CONTROL ? DROPEFFECT_COPY : DROPEFFECT_MOVE) : DROPEFFECT_NONE);
        EXPECT_EQ(dropped, c.effect);
        EXPECT_EQ(exclude, c.exclude);
        EXPECT_EQ(include, (Rows{"a", "b", "c", "d"}));
        const std::vector<std::string> boxes = Boxes();
        ASSERT_EQ(boxes.size(), boxesBefore + (c.box ? 1 : 0));
        if (c.box) {
            EXPECT_EQ(boxes.back(), c.box);
        }
    }
}

TEST_F(FileWizardTest, ADragCarriesTheSelectedRowsAndAMoveRemovesExactlyThem) {
    const struct {
        const char* name;
        std::vector<int> selected;
        int over;  // the list under the cursor, or 0 for none
        Rows include, exclude;
    } cases[] = {
        {"to the other list", {1, 3}, IDC_EXCLUDE_LIST, {"a", "c"}, {"b", "d"}},
        {"onto its own list", {0, 2}, IDC_INCLUDE_LIST, {"b", "d", "a", "c"}, {}},
        {"onto no list", {1}, 0, {"a", "b", "c", "d"}, {}},
        {"nothing selected", {}, IDC_EXCLUDE_LIST, {"a", "b", "c", "d"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WizardItem item = kFolderItem;
        item.tableUrl = TableUrl();
        auto node = Node(item);
        Rows include, exclude;
        const HRESULT hr = RunWizard(node.Get(), [&](HWND sheet) {
            ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
            SelectRows(PageList(sheet, IDC_INCLUDE_LIST), c.selected);
            ASSERT_TRUE(PointAt(c.over ? PageList(sheet, c.over) : GetDlgItem(PageWindow(sheet), IDC_FILTER_HINT)));
            BeginDrag(sheet, IDC_INCLUDE_LIST);
            include = Column(PageList(sheet, IDC_INCLUDE_LIST), 0);
            exclude = Column(PageList(sheet, IDC_EXCLUDE_LIST), 0);
            ASSERT_TRUE(Press(sheet, PSBTN_NEXT));
            Type(sheet, IDC_DESTINATION, "\\docs");
            Press(sheet, PSBTN_FINISH);
        });
        EXPECT_EQ(include, c.include);
        EXPECT_EQ(exclude, c.exclude);
        // What the lists hold is what the item gets.
        EXPECT_EQ(hr, S_OK);
        std::string want = "QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=";
        for (size_t i = 0; i < c.include.size(); ++i) want += (i ? ":" : "") + c.include[i];
        if (!c.exclude.empty()) want += " | QV_EXCLUSION_FILTER=" + c.exclude[0] + ":" + c.exclude[1];
        EXPECT_EQ(Stored(node.Get()).fileAttributes, want);
    }
}

}  // namespace
}  // namespace vorlan::filesync::testing
