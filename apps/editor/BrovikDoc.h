#pragma once
// CBrovikDoc: the project open in the editor: its tables, each kept under
// the tree item that shows it, and the project's own modified flag, which
// the views set after an edit and which saving and navigation clear.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "Document.h"
#include "VorlanPlugin.h"

namespace vorlan::editor {

class CBrovikDoc : public CDocument {
public:
    ~CBrovikDoc() override;

    // Tables are keyed by the item handle itself, whatever its width; the
    // document never looks into an item.
    void AddPlugin(HTREEITEM item, std::unique_ptr<CVorlanPlugin> table);
    CVorlanPlugin* GetPlugin(HTREEITEM item) const;
    // FALSE, url untouched, when the item has no table.
    BOOL GetPluginUrl(HTREEITEM item, std::string& url) const;
    void RemovePlugin(HTREEITEM item);
    void DeleteAllPlugins();
    // TRUE when an open table has the URL, compared without regard to case.
    BOOL CountPluginsWithUrl(const std::string& url) const;
    // The item of the first open table whose URL is the same text, byte
    // for byte; FALSE, *item untouched, when none is.
    BOOL FindPluginByUrl(const std::string& url, HTREEITEM* item) const;

    // The default project ("PluginConfig" under \SOFTWARE\Dravenhall\Vorlan\,
    // the user's before the machine's), environment variables expanded:
    // S_OK, "" when neither has one; an error for a value that does not fit
    // 259 characters expanded, or that cannot be read.
    static HRESULT GetPluginConfigPath(std::string& path);

    // Writes every table the editor can write. Each that fails is reported
    // (message 110 with its URL) and the others are still written; tables
    // described by the fallback are passed over. The flag stays set when a
    // local table could not be written, so its edits are asked about again.
    // S_OK, or E_FAIL when a table failed.
    HRESULT SaveAllPlugins();

    // The project's own flag (the views set it).
    BOOL IsModified() override { return projectModified_; }
    void SetProjectModified(BOOL modified) { projectModified_ = modified; }
    // When the project changed, asks whether to save it (message 103): Yes
    // saves, and answers FALSE, so the caller stops and the edits stay,
    // when a local table could not be written; No goes on without saving.
    BOOL SaveModified() override;

private:
    std::map<std::uintptr_t, std::unique_ptr<CVorlanPlugin>> tables_;
    BOOL projectModified_ = FALSE;
    // A local table failed in the last save.
    bool localSaveFailed_ = false;
};

}  // namespace vorlan::editor
