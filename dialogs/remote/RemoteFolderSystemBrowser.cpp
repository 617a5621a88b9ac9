#include "RemoteFolderSystemBrowser.h"

#include <vector>

#include "Bstr.h"
#include "CeRapi.h"
#include "DeletePrompt.h"
#include "ExactAnsi.h"
#include "ItemPaths.h"
#include "NewFolder.h"
#include "Resource.h"
#include "StringTokenizer2.h"
#include "Text.h"

namespace vorlan {

namespace {

// The child of a folder not read yet, so the tree offers to open it. No
// folder is ever named so.
constexpr char kPlaceholder[] = "@#!#_DUMMY_@#!#";

constexpr DWORD kFolderFields = FAF_FOLDERS_ONLY | FAF_NAME;
constexpr int kClosedImage = 0;
constexpr int kOpenImage = 1;

}  // namespace

BEGIN_MESSAGE_MAP(CRemoteFolderSystemBrowser, CDialog)
    ON_NOTIFY(TVN_ITEMEXPANDINGA, IDC_FOLDER_TREE, OnItemExpanding)
    ON_NOTIFY(TVN_ITEMEXPANDINGW, IDC_FOLDER_TREE, OnItemExpanding)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_FOLDER_TREE, OnSelectionChanged)
    ON_NOTIFY(TVN_SELCHANGEDW, IDC_FOLDER_TREE, OnSelectionChanged)
    ON_BN_CLICKED(IDC_NEW_FOLDER, OnNewFolder)
    ON_BN_CLICKED(IDC_DELETE, OnDelete)
END_MESSAGE_MAP()

CRemoteFolderSystemBrowser::CRemoteFolderSystemBrowser() : CDialog(IDD_FOLDER_BROWSER) {}

void CRemoteFolderSystemBrowser::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_FOLDER_TREE, tree_);
    DDX_Text(dx, IDC_FOLDER_NAME, m_chosen);
}

BOOL CRemoteFolderSystemBrowser::OnInitDialog() {
    CDialog::OnInitDialog();
    if (images_.Create(16, 16, ILC_COLOR32 | ILC_MASK, 7, 1)) {
        images_.AddIcon(ResourceModule(), IDI_FOLDER_CLOSED);
        images_.AddIcon(ResourceModule(), IDI_FOLDER_OPEN);
        tree_.SetImageList(images_.m_hImageList, TVSIL_NORMAL);
    }
    AddFolder(TVI_ROOT, m_root, true);
    if (!m_title.empty()) SetWindowText(m_title);
    newFolder_.AutoLoad(IDC_NEW_FOLDER, this, "NEWFOLDER");
    delete_.AutoLoad(IDC_DELETE, this, "REMOVEFOLDER");
    SelectStartFolder();
    return TRUE;
}

HTREEITEM CRemoteFolderSystemBrowser::AddFolder(HTREEITEM parent, const std::string& name, bool withPlaceholder) {
    HTREEITEM item = tree_.InsertItem(name, kClosedImage, kOpenImage, parent, TVI_LAST);
    if (item && withPlaceholder) tree_.InsertItem(kPlaceholder, kClosedImage, kOpenImage, item, TVI_LAST);
    return item;
}

std::string CRemoteFolderSystemBrowser::GetItemPath(HTREEITEM item) const {
    std::vector<std::string> names;
    HTREEITEM root = item;
    for (HTREEITEM parent = tree_.GetParentItem(item); parent; parent = tree_.GetParentItem(parent)) {
        names.insert(names.begin(), tree_.GetItemText(root));
        root = parent;
    }
    return ItemPath(tree_.GetItemText(root), names);
}

bool CRemoteFolderSystemBrowser::HasPlaceholder(HTREEITEM item) const {
    HTREEITEM child = tree_.GetChildItem(item);
    return child && tree_.GetItemText(child) == kPlaceholder;
}

void CRemoteFolderSystemBrowser::ReadChildren(HTREEITEM item) {
    if (!HasPlaceholder(item)) return;
    tree_.DeleteItem(tree_.GetChildItem(item));
    DWORD count = 0;
    CE_FIND_DATA* found = nullptr;
    const std::string pattern = FolderPattern(GetItemPath(item));
    if (pattern.size() < MAX_PATH &&
        CeFindAllFiles(com::WideFromAnsi(pattern).c_str(), kFolderFields, &count, &found) && found) {
        for (DWORD i = 0; i < count; ++i) {
            std::string name;
            if (ExactAnsiFromWide(found[i].cFileName, name) && !name.empty()) AddFolder(item, name, true);
        }
    }
    if (found) CeRapiFreeBuffer(found);
}

void CRemoteFolderSystemBrowser::OnItemExpanding(NMHDR* header, LRESULT* result) {
    const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
    if (change->action & TVE_EXPAND) ReadChildren(change->itemNew.hItem);
    *result = 0;
}

void CRemoteFolderSystemBrowser::OnSelectionChanged(NMHDR* header, LRESULT* result) {
    const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
    if (change->itemNew.hItem) {
        m_chosen = GetItemPath(change->itemNew.hItem);
        SetDlgItemTextA(m_hWnd, IDC_FOLDER_NAME, m_chosen.c_str());
    }
    *result = 0;
}

void CRemoteFolderSystemBrowser::SelectStartFolder() {
    if (m_startFolder.empty()) return;
    HTREEITEM current = tree_.GetRootItem();
    HTREEITEM matched = nullptr;
    ReadChildren(current);
    tree_.Expand(current, TVE_EXPAND);
    CStringTokenizer2 names;
    names.Tokenize(m_startFolder, "\\");
    for (const std::string& name : names.Tokens()) {
        HTREEITEM next = nullptr;
        for (HTREEITEM child = tree_.GetChildItem(current); child; child = tree_.GetNextSiblingItem(child)) {
            if (EqualsNoCase(tree_.GetItemText(child), name)) {
                next = child;
                break;
            }
        }
        // The longest existing part of the start folder stays selected.
        if (!next) break;
        tree_.SelectItem(next);
        ReadChildren(next);
        tree_.Expand(next, TVE_EXPAND);
        current = matched = next;
    }
    if (!matched) return;
    tree_.SelectItem(matched);
    tree_.EnsureVisible(matched);
}

void CRemoteFolderSystemBrowser::OnOK() {
    if (!UpdateData(TRUE)) return;
    // OK always carries a folder.
    if (m_chosen.empty()) return;
    EndDialog(IDOK);
}

void CRemoteFolderSystemBrowser::OnNewFolder() {
    HTREEITEM selected = tree_.GetSelectedItem();
    if (!selected) return;
    CNewFolder ask;
    if (ask.DoModal(m_hWnd) != IDOK || !IsNewFolderName(ask.m_name)) return;
    std::string path = GetItemPath(selected);
    if (path.empty() || path.back() != '\\') path += '\\';
    path += ask.m_name;
    if (!CeCreateDirectory(com::WideFromAnsi(path).c_str(), nullptr)) return;
    // A folder never read lists the new one with the others when read now.
    if (HasPlaceholder(selected))
        ReadChildren(selected);
    else
        AddFolder(selected, ask.m_name, false);
    tree_.Expand(selected, TVE_EXPAND);
}

void CRemoteFolderSystemBrowser::OnDelete() {
    HTREEITEM selected = tree_.GetSelectedItem();
    if (!selected) {
        ShowSelectFirst(m_hWnd);
        return;
    }
    const std::wstring path = com::WideFromAnsi(GetItemPath(selected));
    if (ConfirmAndDelete(m_hWnd, tree_.GetItemText(selected),
                         [&] { return CeRemoveDirectory(path.c_str()) != FALSE; }))
        tree_.DeleteItem(selected);
}

}  // namespace vorlan
