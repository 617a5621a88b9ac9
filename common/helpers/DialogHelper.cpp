#include "DialogHelper.h"

#include <commdlg.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "RegistryReaders.h"

namespace vorlan {
namespace {

int CALLBACK SelectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data)
        SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

}  // namespace

std::string TranslateChosenPath(const std::string& path) {
    if (ReadTranslatePathSetting() == 0) return path;
    char unexpanded[MAX_PATH];
    if (!PathUnExpandEnvStringsA(path.c_str(), unexpanded, MAX_PATH)) return path;
    return unexpanded;
}

void CDialogHelper::SetItemText(int id, const std::string& text) const {
    if (HWND item = Item(id)) SetWindowTextA(item, text.c_str());
}

void CDialogHelper::EnableItem(int id, bool enable) const {
    if (HWND item = Item(id)) EnableWindow(item, enable);
}

void CDialogHelper::ShowItem(int id, bool show) const {
    if (HWND item = Item(id)) ShowWindow(item, show ? SW_SHOWNORMAL : SW_HIDE);
}

void CDialogHelper::CheckItem(int id, int state) const {
    if (HWND item = Item(id)) SendMessageA(item, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void CDialogHelper::EnableItems(const int* ids, bool enable) const {
    for (; ids && *ids; ++ids) EnableItem(*ids, enable);
}

void CDialogHelper::ShowItems(const int* ids, bool show) const {
    for (; ids && *ids; ++ids) ShowItem(*ids, show);
}

void CDialogHelper::CheckItems(const int* ids, int state) const {
    for (; ids && *ids; ++ids) CheckItem(*ids, state);
}

int CDialogHelper::BrowseForFolder(int csidlRoot, std::string& path, const std::string& initialPath,
                                   const std::string& title) const {
    PIDLIST_ABSOLUTE root = nullptr;
    if (csidlRoot != 0 && FAILED(SHGetFolderLocation(Owner(), csidlRoot, nullptr, 0, &root))) root = nullptr;
    BROWSEINFOA info = {};
    info.hwndOwner = Owner();
    info.pidlRoot = root;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_UAHINT;
    info.lpfn = SelectInitialFolder;
    info.lParam = initialPath.empty() ? 0 : reinterpret_cast<LPARAM>(initialPath.c_str());
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
    CoTaskMemFree(root);
    if (!chosen) return 0;
    char folder[MAX_PATH];
    BOOL named = SHGetPathFromIDListA(chosen, folder);
    CoTaskMemFree(chosen);
    if (!named) return 0;
    path = TranslateChosenPath(folder);
    return 1;
}

int CDialogHelper::BrowseForFile(std::string_view filter, const std::string& defaultExt, const std::string& title,
                                 std::string& path, const std::string& initialDir) const {
    path.clear();
    std::string filters(filter);
    for (char& c : filters)
        if (c == '|') c = '\0';
    filters.append(2, '\0');
    char file[MAX_PATH] = "";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Owner();
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    if (GetOpenFileNameA(&dialog) != TRUE) return 0;
    path = TranslateChosenPath(file);
    return 1;
}

}  // namespace vorlan
