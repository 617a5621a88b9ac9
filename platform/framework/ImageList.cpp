#include "ImageList.h"

#include <shellapi.h>

namespace vorlan {

bool CImageList::Create(int width, int height, UINT flags, int initial, int grow) {
    DeleteImageList();
    m_hImageList = ImageList_Create(width, height, flags, initial, grow);
    owned_ = m_hImageList != nullptr;
    return owned_;
}

int CImageList::AddIcon(HINSTANCE module, int iconId) const {
    int width = 16, height = 16;
    GetIconSize(width, height);
    HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(iconId), IMAGE_ICON, width, height, 0));
    if (!icon) return -1;
    const int index = Add(icon);
    DestroyIcon(icon);
    return index;
}

bool CImageList::GetIconSize(int& width, int& height) const {
    return m_hImageList && ImageList_GetIconSize(m_hImageList, &width, &height);
}

void CImageList::DeleteImageList() {
    if (owned_ && m_hImageList) ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    owned_ = false;
}

bool CImageList::AttachSystemSmall() {
    DeleteImageList();
    SHFILEINFOA info = {};
    // Asked by attributes only: the file need not exist.
    m_hImageList = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("dummy.txt", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    return m_hImageList != nullptr;
}

}  // namespace vorlan
