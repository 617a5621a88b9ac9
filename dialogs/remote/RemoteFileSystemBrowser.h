#pragma once
// The modal file-open dialog over the connected device's file system: the
// current folder's entries with size, type and date, sorted by any column;
// up one folder, new folder, delete and open. Works on the session the
// caller opened.
#include <string>

#include "AutoListCtrl.h"
#include "BitmapButton.h"
#include "Dialog.h"
#include "ImageList.h"

namespace vorlan {

class CRemoteFileSystemBrowser : public CDialog {
public:
    CRemoteFileSystemBrowser();

    // Set before the dialog runs: the folder (ending with "\") and an
    // entry of it to select, the pattern and the title.
    std::string m_folder = "\\";
    std::string m_selectName;
    std::string m_pattern = "*.*";
    std::string m_title;

    // After IDOK: the chosen file's path, or the current folder when nothing
    // was selected.
    const std::string& ChosenPath() const { return m_folder; }

    // Reads the current folder into the list again.
    void FillList();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    void OnOpen();
    void OnUp();
    void OnNewFolder();
    void OnDelete();
    void OnDoubleClick(NMHDR* header, LRESULT* result);

    DECLARE_MESSAGE_MAP()

private:
    CAutoListCtrl list_;
    CImageList systemImages_;
    CBitmapButton up_, newFolder_, delete_;
    std::string datePicture_;
};

}  // namespace vorlan
