#include "BrowseDriver.h"

#include "TestSupport.h"
#include "WindowCapture.h"

namespace vorlan::testing {

bool WaitUntil(const std::function<bool()>& test, DWORD ms) {
    const DWORD start = GetTickCount();
    while (!test()) {
        if (GetTickCount() - start >= ms) return test();
        Sleep(20);
    }
    return true;
}

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PostClick(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string PictureRefusalBox(HWND dialog, const std::string& caption, const std::string& name) {
    std::string picture = "failed: no box";
    // The real box, not the unattended default answer.
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", nullptr);
    PostClick(dialog, IDOK);
    if (HWND box = WaitForDialog(caption)) {
        picture = SaveScreenshot(box, name);
        Click(box, IDOK);
    }
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", "default");
    WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; });
    return picture;
}

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

std::vector<std::string> Column(HWND list, int column) {
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) texts.push_back(ListViewText(list, row, column));
    return texts;
}

int FindRow(HWND list, const std::string& name) {
    const std::vector<std::string> names = Column(list, 0);
    for (size_t row = 0; row < names.size(); ++row)
        if (names[row] == name) return static_cast<int>(row);
    return -1;
}

void SelectRow(HWND list, int row) {
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (row < 0) return;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

int SelectedRow(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

void DoubleClickRow(HWND list, int row) {
    SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    RECT r = {};
    r.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
}

void ClickHeading(HWND list, int column) {
    // What the list view tells its parent when a heading is clicked (Wine's
    // header does not take a click made of window messages alone).
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(GetParent(list), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

std::string TreeText(HWND tree, HTREEITEM item) {
    char text[MAX_PATH] = {};
    TVITEMA info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    return text;
}

std::vector<std::string> ChildTexts(HWND tree, HTREEITEM item) {
    std::vector<std::string> texts;
    for (auto child = reinterpret_cast<HTREEITEM>(
             SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
         child;
         child = reinterpret_cast<HTREEITEM>(
             SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
        texts.push_back(TreeText(tree, child));
    return texts;
}

HTREEITEM FindChild(HWND tree, HTREEITEM item, const std::string& text) {
    for (auto child = reinterpret_cast<HTREEITEM>(
             SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
         child;
         child = reinterpret_cast<HTREEITEM>(
             SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child))))
        if (TreeText(tree, child) == text) return child;
    return nullptr;
}

HTREEITEM Selected(HWND tree) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void PressKey(HWND tree, UINT key) {
    SendMessageA(tree, WM_KEYDOWN, key, 1);
    SendMessageA(tree, WM_KEYUP, key, 0xC0000001);
}

BrowseDriver::BrowseDriver(std::string title, std::function<void(HWND)> steps)
    : thread_([this, title = std::move(title), steps = std::move(steps)] {
          HWND dialog = WaitForDialog(title);
          if (!dialog) return;
          saw_ = true;
          steps(dialog);
          if (IsWindow(dialog)) PostClick(dialog, IDCANCEL);
      }) {}

BrowseDriver::~BrowseDriver() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace vorlan::testing
