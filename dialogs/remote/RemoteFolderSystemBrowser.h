#pragma once
// The modal dialog that chooses a device folder from a tree read one level
// at a time, as folders are opened; new folder and delete. Works on the
// session the caller opened.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "BitmapButton.h"
#include "Dialog.h"
#include "ImageList.h"
#include "TreeCtrl.h"

namespace vorlan {

class CRemoteFolderSystemBrowser : public CDialog {
public:
    CRemoteFolderSystemBrowser();

    // Set before the dialog runs.
    std::string m_root = "\\";
    std::string m_title;
    std::string m_startFolder;  // selected at opening when given

    // The folder shown in "Folder Name:"; after IDOK, the chosen one.
    std::string m_chosen;

    // The path of a tree item: the root's path and the names down to it.
    std::string GetItemPath(HTREEITEM item) const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    void OnItemExpanding(NMHDR* header, LRESULT* result);
    void OnSelectionChanged(NMHDR* header, LRESULT* result);
    void OnNewFolder();
    void OnDelete();

    DECLARE_MESSAGE_MAP()

private:
    // Replaces the placeholder of an item never read by its sub-folders on
    // the device; an item read before is left as it is.
    void ReadChildren(HTREEITEM item);
    bool HasPlaceholder(HTREEITEM item) const;
    HTREEITEM AddFolder(HTREEITEM parent, const std::string& name, bool withPlaceholder);
    void SelectStartFolder();

    CTreeCtrl tree_;
    CImageList images_;
    CBitmapButton newFolder_, delete_;
};

}  // namespace vorlan
