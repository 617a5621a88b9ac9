#include "TreeCtrl.h"

#include <vector>

namespace vorlan {

HTREEITEM CTreeCtrl::InsertItem(const std::string& text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM insertAfter) const {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = insertAfter;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::string CTreeCtrl::GetItemText(HTREEITEM item) const {
    // Grows the buffer until the text fits with room to spare.
    for (int size = 260;; size *= 4) {
        std::vector<char> text(static_cast<size_t>(size));
        TVITEMA info = {};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = text.data();
        info.cchTextMax = size;
        if (!SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info))) return {};
        text.back() = '\0';
        std::string value(text.data());
        if (static_cast<int>(value.size()) + 1 < size || size >= (1 << 20)) return value;
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, const std::string& text) const {
    TVITEMA info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = const_cast<char*>(text.c_str());
    return static_cast<BOOL>(SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&info)));
}

}  // namespace vorlan
