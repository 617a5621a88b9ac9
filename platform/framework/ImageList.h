#pragma once
// An image list: made here and destroyed with its object, or the shell's
// small system list, which the whole process shares and nobody destroys.
#include <windows.h>
#include <commctrl.h>

namespace vorlan {

class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // flags: ILC_COLOR32 and the like. False when it cannot be made.
    bool Create(int width, int height, UINT flags, int initial, int grow);
    // The image's index, -1 when it could not be added.
    int Add(HICON icon) const { return m_hImageList ? ImageList_AddIcon(m_hImageList, icon) : -1; }
    // An icon of the module's resources, at the list's size; -1 when the
    // module has no such icon.
    int AddIcon(HINSTANCE module, int iconId) const;
    int GetImageCount() const { return m_hImageList ? ImageList_GetImageCount(m_hImageList) : 0; }
    // The size of the list's images; false when there is no list.
    bool GetIconSize(int& width, int& height) const;
    // Destroys a list made by Create; a shared list is only let go.
    void DeleteImageList();

    // The shell's small-icon system list (icons of files by type), shared
    // by the process: this object never destroys it. False when the shell
    // gives none.
    bool AttachSystemSmall();

    HIMAGELIST m_hImageList = nullptr;

private:
    bool owned_ = false;
};

}  // namespace vorlan
