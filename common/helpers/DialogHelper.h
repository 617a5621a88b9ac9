#pragma once
// Helpers that item dialogs share: set, enable, show and check controls one
// by one or as 0-terminated lists of identifiers, and open the desktop
// folder and file choosers. A control the owner does not have is ignored.
#include <windows.h>

#include <string>
#include <string_view>

#include "Wnd.h"

namespace vorlan {

class CDialogHelper {
public:
    // owner is a dialog or property page; it is not owned.
    explicit CDialogHelper(CWnd* owner) : owner_(owner) {}
    virtual ~CDialogHelper() = default;

    void SetItemText(int id, const std::string& text) const;
    void EnableItem(int id, bool enable) const;
    // SW_SHOWNORMAL or SW_HIDE.
    void ShowItem(int id, bool show) const;
    // BM_SETCHECK with state (BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE).
    void CheckItem(int id, int state) const;
    void EnableItems(const int* ids, bool enable) const;
    void ShowItems(const int* ids, bool show) const;
    void CheckItems(const int* ids, int state) const;

    // The shell's folder chooser, rooted at the special folder csidlRoot (0
    // for the whole namespace), starting at initialPath. 1 when a folder was
    // chosen: path holds it, with environment variables in place of known
    // folders when TranslatePath is set; 0 when cancelled, path unchanged.
    int BrowseForFolder(int csidlRoot, std::string& path, const std::string& initialPath,
                        const std::string& title) const;
    // The file-open dialog. filter lists descriptions and patterns separated
    // by "|" ("Vorlan files (*.xml)|*.xml"). 1 when a file was chosen, path
    // as for folders; 0 otherwise, path empty.
    int BrowseForFile(std::string_view filter, const std::string& defaultExt, const std::string& title,
                      std::string& path, const std::string& initialDir) const;

private:
    HWND Owner() const { return owner_ ? owner_->m_hWnd : nullptr; }
    HWND Item(int id) const { return owner_ ? owner_->GetDlgItem(id) : nullptr; }

    CWnd* owner_;
};

// path with known folders written as environment variables ("%USERPROFILE%\x")
// when the TranslatePath setting asks for it and the rewritten path fits.
std::string TranslateChosenPath(const std::string& path);

}  // namespace vorlan
