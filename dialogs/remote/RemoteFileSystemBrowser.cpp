#include "RemoteFileSystemBrowser.h"

#include <shellapi.h>

#include <cctype>
#include <map>

#include "Bstr.h"
#include "CeRapi.h"
#include "DateTimeFormat.h"
#include "DeletePrompt.h"
#include "ExactAnsi.h"
#include "ItemPaths.h"
#include "NewFolder.h"
#include "Resource.h"
#include "Resources.h"
#include "SizeText.h"

namespace vorlan {

namespace {

constexpr DWORD kListedFields = FAF_ATTRIBUTES | FAF_LASTWRITE_TIME | FAF_SIZE_LOW | FAF_NAME;
constexpr size_t kLongestPattern = MAX_PATH - 1;

constexpr DWORD kFolderRow = 1;
constexpr DWORD kFileRow = 0;

// What the shell shows for a kind of entry; the same for every name of one
// extension, so it is asked once per extension and fill.
struct ShellLook {
    int icon = 0;
    std::string type;
};

class ShellLooks {
public:
    const ShellLook& Of(const std::string& name, bool folder) {
        std::string kind = folder ? std::string("\\") : Extension(name);
        auto found = looks_.find(kind);
        if (found != looks_.end()) return found->second;
        SHFILEINFOA info = {};
        ShellLook look;
        if (SHGetFileInfoA(name.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                           SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME)) {
            look.icon = info.iIcon;
            look.type = info.szTypeName;
        }
        return looks_.emplace(std::move(kind), std::move(look)).first->second;
    }

private:
    static std::string Extension(const std::string& name) {
        const size_t dot = name.rfind('.');
        std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
        for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return extension;
    }
    std::map<std::string, ShellLook> looks_;
};

}  // namespace

BEGIN_MESSAGE_MAP(CRemoteFileSystemBrowser, CDialog)
    ON_BN_CLICKED(IDC_OPEN, OnOpen)
    ON_BN_CLICKED(IDC_UP, OnUp)
    ON_BN_CLICKED(IDC_NEW_FOLDER, OnNewFolder)
    ON_BN_CLICKED(IDC_DELETE, OnDelete)
    ON_NOTIFY(NM_DBLCLK, IDC_FILE_LIST, OnDoubleClick)
END_MESSAGE_MAP()

CRemoteFileSystemBrowser::CRemoteFileSystemBrowser() : CDialog(IDD_FILE_BROWSER) {}

void CRemoteFileSystemBrowser::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_LOOK_IN, m_folder);
    DDX_Control(dx, IDC_FILE_LIST, list_);
}

BOOL CRemoteFileSystemBrowser::OnInitDialog() {
    CDialog::OnInitDialog();
    datePicture_ = UserShortDatePicture();
    list_.InsertColumn(0, LoadResourceString(IDS_COLUMN_NAME), LVCFMT_LEFT, 150);
    list_.InsertColumn(1, LoadResourceString(IDS_COLUMN_SIZE), LVCFMT_LEFT, 100);
    list_.InsertColumn(2, LoadResourceString(IDS_COLUMN_TYPE), LVCFMT_LEFT, 150);
    list_.InsertColumn(3, LoadResourceString(IDS_COLUMN_MODIFIED), LVCFMT_LEFT, 150);
    list_.SetColumnSortType(1, SortKind::Size);
    list_.SetColumnSortType(2, SortKind::Text);
    list_.SetColumnSortType(3, SortKind::Date);
    // The shell's list serves the whole process; the list view must not
    // destroy it (LVS_SHAREIMAGELISTS in the template).
    if (systemImages_.AttachSystemSmall()) list_.SetImageList(systemImages_.m_hImageList, LVSIL_SMALL);
    if (!m_title.empty()) SetWindowText(m_title);
    up_.AutoLoad(IDC_UP, this, "BROWSE");
    newFolder_.AutoLoad(IDC_NEW_FOLDER, this, "NEWFOLDER");
    delete_.AutoLoad(IDC_DELETE, this, "REMOVEFOLDER");
    FillList();
    if (!m_selectName.empty()) {
        const int row = list_.FindItem(m_selectName);
        if (row >= 0) {
            list_.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            list_.EnsureVisible(row, FALSE);
        }
    }
    return TRUE;
}

void CRemoteFileSystemBrowser::FillList() {
    BeginWaitCursor();
    list_.DeleteAllItems();
    const std::string pattern = m_folder + m_pattern;
    DWORD count = 0;
    CE_FIND_DATA* found = nullptr;
    // A longer pattern would name another folder once cut; nothing is listed.
    if (pattern.size() <= kLongestPattern &&
        CeFindAllFiles(com::WideFromAnsi(pattern).c_str(), kListedFields, &count, &found) && found) {
        ShellLooks looks;
        // Drawn once when filled, not once per row.
        list_.SendMessage(WM_SETREDRAW, FALSE);
        list_.SendMessage(LVM_SETITEMCOUNT, count);
        for (DWORD i = 0; i < count; ++i) {
            const CE_FIND_DATA& entry = found[i];
            std::string name;
            // A name without an ANSI form could not be chosen as itself.
            if (!ExactAnsiFromWide(entry.cFileName, name) || name.empty()) continue;
            const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const ShellLook& look = looks.Of(name, folder);
            const int row = list_.InsertItem(-1, name, look.icon);
            if (row < 0) continue;
            list_.SetRowValue(row, folder ? kFolderRow : kFileRow);
            list_.SetItemText(row, 1, FileSizeText(entry.nFileSizeLow, folder));
            list_.SetItemText(row, 2, look.type);
            list_.SetItemText(row, 3, DeviceFileDateText(entry.ftLastWriteTime, datePicture_));
        }
    }
    if (found) CeRapiFreeBuffer(found);
    list_.SendMessage(WM_SETREDRAW, TRUE);
    list_.FitColumns();
    list_.Resort();
    EndWaitCursor();
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SetDlgItemTextA(m_hWnd, IDC_LOOK_IN, m_folder.c_str());
}

void CRemoteFileSystemBrowser::OnOpen() {
    const int row = list_.GetSelectedItem();
    if (row >= 0 && list_.GetRowValue(row) == kFolderRow) {
        m_folder = ChildFolder(m_folder, list_.GetItemText(row, 0));
        FillList();
        return;
    }
    if (row >= 0) m_folder += list_.GetItemText(row, 0);
    SetDlgItemTextA(m_hWnd, IDC_LOOK_IN, m_folder.c_str());
    EndDialog(IDOK);
}

void CRemoteFileSystemBrowser::OnOK() { OnOpen(); }

void CRemoteFileSystemBrowser::OnDoubleClick(NMHDR* header, LRESULT* result) {
    *result = 0;
    // A double click beside the rows opens nothing.
    if (reinterpret_cast<NMITEMACTIVATE*>(header)->iItem < 0) return;
    OnOpen();
}

void CRemoteFileSystemBrowser::OnUp() {
    if (m_folder == "\\") return;
    m_folder = ParentFolder(m_folder);
    FillList();
}

void CRemoteFileSystemBrowser::OnNewFolder() {
    CNewFolder ask;
    if (ask.DoModal(m_hWnd) != IDOK || !IsNewFolderName(ask.m_name)) return;
    CeCreateDirectory(com::WideFromAnsi(m_folder + ask.m_name).c_str(), nullptr);
    FillList();
}

void CRemoteFileSystemBrowser::OnDelete() {
    const int row = list_.GetSelectedItem();
    if (row < 0) {
        ShowSelectFirst(m_hWnd);
        return;
    }
    const std::string name = list_.GetItemText(row, 0);
    const bool folder = list_.GetRowValue(row) == kFolderRow;
    const std::wstring path = com::WideFromAnsi(m_folder + name);
    if (ConfirmAndDelete(m_hWnd, name, [&] {
            return (folder ? CeRemoveDirectory(path.c_str()) : CeDeleteFile(path.c_str())) != FALSE;
        }))
        FillList();
}

}  // namespace vorlan
