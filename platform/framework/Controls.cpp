#include "Controls.h"

#include <vector>

namespace vorlan {

std::string CComboBox::GetLBText(int index) const {
    const LRESULT length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR) return {};
    std::vector<char> text(static_cast<size_t>(length) + 1);
    const LRESULT copied =
        SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    if (copied == CB_ERR) return {};
    return std::string(text.data(), static_cast<size_t>(copied) < text.size() ? static_cast<size_t>(copied) : length);
}

int CListCtrl::InsertColumn(int column, const std::string& heading, int format, int width) const {
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM | (width >= 0 ? LVCF_WIDTH : 0);
    info.fmt = format;
    info.cx = width;
    info.pszText = const_cast<char*>(heading.c_str());
    info.iSubItem = column;
    return static_cast<int>(
        SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)));
}

std::vector<int> CListCtrl::GetSelectedItems() const {
    std::vector<int> rows;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED)) rows.push_back(row);
    return rows;
}

int CListCtrl::InsertItem(int item, const std::string& text) const {
    LVITEMA info = {};
    info.mask = LVIF_TEXT;
    info.iItem = item;
    info.pszText = const_cast<char*>(text.c_str());
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&info)));
}

BOOL CListCtrl::SetItemText(int item, int subItem, const std::string& text) const {
    LVITEMA info = {};
    info.iSubItem = subItem;
    info.pszText = const_cast<char*>(text.c_str());
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
}

std::string CListCtrl::GetItemText(int item, int subItem) const {
    // Grows the buffer until the text fits with room to spare.
    for (size_t size = 256;; size *= 4) {
        std::vector<char> text(size);
        LVITEMA info = {};
        info.iSubItem = subItem;
        info.pszText = text.data();
        info.cchTextMax = static_cast<int>(size);
        auto length = static_cast<size_t>(
            SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
        if (length + 1 < size || size >= (1u << 20)) return std::string(text.data(), length < size ? length : size - 1);
    }
}

int CListCtrl::InsertItem(int item, const std::string& text, int image) const {
    LVITEMA info = {};
    info.mask = LVIF_TEXT | LVIF_IMAGE;
    info.iItem = item;
    info.iImage = image;
    info.pszText = const_cast<char*>(text.c_str());
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&info)));
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    LVITEMA info = {};
    info.mask = LVIF_PARAM;
    info.iItem = item;
    if (!SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info))) return 0;
    return static_cast<DWORD_PTR>(info.lParam);
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) const {
    LVITEMA info = {};
    info.mask = LVIF_PARAM;
    info.iItem = item;
    info.lParam = static_cast<LPARAM>(data);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info)));
}

int CListCtrl::GetItemImage(int item) const {
    LVITEMA info = {};
    info.mask = LVIF_IMAGE;
    info.iItem = item;
    if (!SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info))) return -1;
    return info.iImage;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) const {
    LVITEMA info = {};
    info.state = state;
    info.stateMask = mask;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
}

int CListCtrl::FindItem(const std::string& text) const {
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = text.c_str();
    return static_cast<int>(SendMessage(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

bool CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    parent_ = parent ? parent->m_hWnd : nullptr;
    RECT none = {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    if (!CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | style, none,
                  parent_, 0))
        return false;
    SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

bool CToolTipCtrl::AddTool(HWND tool, const std::string& text) {
    TTTOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = parent_;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<char*>(text.c_str());
    return SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

std::string CToolTipCtrl::GetText(HWND tool) const {
    char text[1024] = {};
    TTTOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.hwnd = parent_;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    // Wine hands back at most 79 characters of a tip, whatever the buffer.
    SendMessage(TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    text[sizeof text - 1] = '\0';
    return text;
}

}  // namespace vorlan
