#pragma once
// Common controls as thin objects over their handles: each sends the
// control's own messages and nothing more. Tie one to a dialog's control
// with DDX_Control, or make one with Create.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "Wnd.h"

namespace vorlan {

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

// A single-line or multi-line edit control.
class CEdit : public CWnd {
public:
    void SetLimitText(UINT limit) const { SendMessage(EM_LIMITTEXT, limit); }
    void SetSel(int start, int end) const { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
    BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
    void SetModify(BOOL modified = TRUE) const { SendMessage(EM_SETMODIFY, static_cast<WPARAM>(modified)); }
};

// A combo box (drop-down list or with an edit field); texts are ANSI.
class CComboBox : public CWnd {
public:
    // The new entry's index, CB_ERR or CB_ERRSPACE when it could not be added.
    int AddString(const std::string& text) const {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int InsertString(int index, const std::string& text) const {
        return static_cast<int>(
            SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str())));
    }
    int DeleteString(int index) const { return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(index))); }
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    // CB_ERR when the index names no entry (-1 clears the selection).
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    // The entry's text, empty when the index names no entry.
    std::string GetLBText(int index) const;
    // The index of the entry whose whole text equals text (any letter case), CB_ERR when none.
    int FindStringExact(int startAfter, const std::string& text) const {
        return static_cast<int>(
            SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text.c_str())));
    }
    DWORD_PTR GetItemData(int index) const {
        return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    int SetItemData(int index, DWORD_PTR data) const {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
    }
};

// A list view; the texts of rows and columns are ANSI.
class CListCtrl : public CWnd {
public:
    // The column's index, -1 when it could not be inserted.
    int InsertColumn(int column, const std::string& heading, int format = LVCFMT_LEFT, int width = -1) const;
    // The row's index, -1 when it could not be inserted.
    int InsertItem(int item, const std::string& text) const;
    BOOL SetItemText(int item, int subItem, const std::string& text) const;
    std::string GetItemText(int item, int subItem) const;
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    DWORD SetExtendedStyle(DWORD style) const {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
    }

    // A row with an image of the list's small image list.
    int InsertItem(int item, const std::string& text, int image) const;
    BOOL DeleteItem(int item) const { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item))); }
    // The value the row carries for its owner (0 when none was set).
    DWORD_PTR GetItemData(int item) const;
    BOOL SetItemData(int item, DWORD_PTR data) const;
    // The next row after item (-1: from the start) in the state flags
    // given (LVNI_SELECTED, ...); -1 when there is none.
    int GetNextItem(int item, UINT flags) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(item), MAKELPARAM(flags, 0)));
    }
    BOOL SetItemState(int item, UINT state, UINT mask) const;
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    // The selected rows, in order.
    std::vector<int> GetSelectedItems() const;
    UINT GetItemState(int item, UINT mask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
    }
    BOOL EnsureVisible(int item, BOOL partialOk) const {
        return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), partialOk));
    }
    // The row whose first-column text is text (case ignored), -1 when none.
    int FindItem(const std::string& text) const;
    // Orders the rows by compare(data of one row, data of another, data).
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data) const {
        return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, data, reinterpret_cast<LPARAM>(compare)));
    }
    // width: pixels, or LVSCW_AUTOSIZE (contents) / LVSCW_AUTOSIZE_USEHEADER.
    BOOL SetColumnWidth(int column, int width) const {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)));
    }
    int GetColumnWidth(int column) const {
        return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
    }
    // The width of text in the list's font, in pixels.
    int GetStringWidth(const std::string& text) const {
        return static_cast<int>(SendMessage(LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    // kind: LVSIL_SMALL, LVSIL_NORMAL, LVSIL_STATE; the list before.
    HIMAGELIST SetImageList(HIMAGELIST list, int kind) const {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(kind),
                                                        reinterpret_cast<LPARAM>(list)));
    }
    HIMAGELIST GetImageList(int kind) const {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(kind)));
    }
    // The image index of a row, -1 when it has none.
    int GetItemImage(int item) const;
};

// A tooltip window owned by a parent; tools are windows (TTF_IDISHWND).
class CToolTipCtrl : public CWnd {
public:
    // style adds TTS_ styles (TTS_BALLOON, ...) to TTS_ALWAYSTIP.
    bool Create(CWnd* parent, DWORD style = 0);
    // The tip shown over the tool window; false when it could not be added.
    bool AddTool(HWND tool, const std::string& text);
    void Activate(BOOL activate) const { SendMessage(TTM_ACTIVATE, activate); }
    int SetMaxTipWidth(int width) const { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }
    void SetDelayTime(DWORD kind, int milliseconds) const {
        SendMessage(TTM_SETDELAYTIME, kind, MAKELPARAM(milliseconds, 0));
    }
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    std::string GetText(HWND tool) const;

private:
    HWND parent_ = nullptr;
};

}  // namespace vorlan
