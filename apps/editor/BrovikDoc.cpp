#include "BrovikDoc.h"

#include <oleauto.h>

#include "Bstr.h"
#include "DocumentResource.h"
#include "ExpandEnvironment.h"
#include "MessageBox.h"
#include "Resources.h"
#include "Url.h"
#include "UserOrMachine.h"
#include "WinApp.h"

namespace vorlan::editor {

namespace {

constexpr char kPluginConfigSetting[] = "\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig";
constexpr size_t kPathLimit = MAX_PATH;

std::uintptr_t Key(HTREEITEM item) { return reinterpret_cast<std::uintptr_t>(item); }

std::string Upper(const std::string& text) {
    std::string upper = text;
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

// Message 110 with the table's URL for %1.
std::string CannotSaveText(const std::string& url) {
    std::string text = LoadResourceString(IDS_CANNOT_SAVE_TABLE);
    const size_t at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, url);
    return text;
}

HWND MainWindow() {
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

}  // namespace

CBrovikDoc::~CBrovikDoc() { DeleteAllPlugins(); }

void CBrovikDoc::AddPlugin(HTREEITEM item, std::unique_ptr<CVorlanPlugin> table) {
    tables_[Key(item)] = std::move(table);
}

CVorlanPlugin* CBrovikDoc::GetPlugin(HTREEITEM item) const {
    auto found = tables_.find(Key(item));
    return found == tables_.end() ? nullptr : found->second.get();
}

BOOL CBrovikDoc::GetPluginUrl(HTREEITEM item, std::string& url) const {
    const CVorlanPlugin* table = GetPlugin(item);
    if (!table) return FALSE;
    url = table->GetUrl();
    return TRUE;
}

void CBrovikDoc::RemovePlugin(HTREEITEM item) { tables_.erase(Key(item)); }

void CBrovikDoc::DeleteAllPlugins() { tables_.clear(); }

BOOL CBrovikDoc::CountPluginsWithUrl(const std::string& url) const {
    const com::Bstr wanted = com::Bstr::FromAnsi(Upper(url));
    for (const auto& [key, table] : tables_) {
        const com::Bstr candidate = com::Bstr::FromAnsi(Upper(table->GetUrl()));
        if (VarBstrCmp(candidate.Get(), wanted.Get(), LOCALE_USER_DEFAULT, 0) == VARCMP_EQ) return TRUE;
    }
    return FALSE;
}

BOOL CBrovikDoc::FindPluginByUrl(const std::string& url, HTREEITEM* item) const {
    for (const auto& [key, table] : tables_) {
        if (table->GetUrl() == url) {
            if (item) *item = reinterpret_cast<HTREEITEM>(key);
            return TRUE;
        }
    }
    return FALSE;
}

HRESULT CBrovikDoc::GetPluginConfigPath(std::string& path) {
    path.clear();
    std::string value;
    LONG rc = ReadUserOrMachineString(kPluginConfigSetting, value);
    if (rc == ERROR_FILE_NOT_FOUND) return S_OK;
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    // A path cut to fit would name another project.
    if (!ExpandEnvironment(value, path, kPathLimit)) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    return S_OK;
}

HRESULT CBrovikDoc::SaveAllPlugins() {
    HRESULT result = S_OK;
    localSaveFailed_ = false;
    for (const auto& [key, table] : tables_) {
        if (table->IsDescribedByFallback()) continue;
        if (SUCCEEDED(table->SaveXml(nullptr))) continue;
        result = E_FAIL;
        if (GetUrlServiceType(table->GetUrl().c_str()) == kUrlServiceFile) localSaveFailed_ = true;
        ShowMessageBox(nullptr, CannotSaveText(table->GetUrl()), LoadResourceString(IDS_EDITOR_TITLE),
                       MB_OK | MB_ICONERROR);
    }
    // Tables read over HTTP or FTP hold no edits to lose; a local one does.
    projectModified_ = localSaveFailed_ ? TRUE : FALSE;
    return result;
}

BOOL CBrovikDoc::SaveModified() {
    if (!IsModified()) return TRUE;
    const int answer = ShowMessageBox(MainWindow(), LoadResourceString(IDS_ASK_SAVE_PROJECT),
                                      LoadResourceString(IDS_EDITOR_TITLE), MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return TRUE;
    SaveAllPlugins();
    return localSaveFailed_ ? FALSE : TRUE;
}

}  // namespace vorlan::editor
