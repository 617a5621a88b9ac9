#pragma once
// A tree view; item texts are ANSI. Its notifications (TVN_ITEMEXPANDING,
// TVN_SELCHANGED, ...) reach the parent's message map as WM_NOTIFY.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "Wnd.h"

namespace vorlan {

class CTreeCtrl : public CWnd {
public:
    // Inserts an item after insertAfter (TVI_LAST, TVI_FIRST, TVI_SORT or an
    // item) among parent's children (TVI_ROOT for the top level); nullptr
    // when it could not be inserted.
    HTREEITEM InsertItem(const std::string& text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM insertAfter = TVI_LAST) const;
    BOOL DeleteItem(HTREEITEM item) const {
        return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
    }
    BOOL DeleteAllItems() const { return DeleteItem(TVI_ROOT); }
    std::string GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, const std::string& text) const;

    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    BOOL ItemHasChildren(HTREEITEM item) const { return GetChildItem(item) != nullptr; }
    // TVIS_EXPANDED and the other state bits of mask.
    UINT GetItemState(HTREEITEM item, UINT mask) const {
        return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
    }

    BOOL SelectItem(HTREEITEM item) const {
        return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
    }
    // code: TVE_EXPAND, TVE_COLLAPSE, TVE_TOGGLE.
    BOOL Expand(HTREEITEM item, UINT code) const {
        return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)));
    }
    BOOL EnsureVisible(HTREEITEM item) const {
        return static_cast<BOOL>(SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)));
    }
    // kind: TVSIL_NORMAL or TVSIL_STATE; the list before.
    HIMAGELIST SetImageList(HIMAGELIST list, int kind) const {
        return reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(kind),
                                                        reinterpret_cast<LPARAM>(list)));
    }
    UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
};

}  // namespace vorlan
