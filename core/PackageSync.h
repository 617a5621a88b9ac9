#pragma once
// CPackageSync: the engine that runs a synchronisation. At the top level
// (held by the core's entry object) it fetches the device's component index
// and hands every row of the project's component table to the core's own
// Vorlan object; at the component level (inside that object) it decides
// whether a component is due, runs the component's plug-in over the
// component's table and records the run in the index on the device.
#include <windows.h>

#include <string>

#include "ActiveSyncMsg.h"
#include "DeviceSession.h"
#include "MySync.h"

namespace vorlan {

// ProgID of the core's own synchroniser, which handles component tables.
inline constexpr char kCoreVorlanProgId[] = "Corvath.Vorlan";

class CPackageSync : public IMySync {
public:

    // Event source, error report and device session (opened once per engine).
    HRESULT Init() override;
    // One component row: due test, run, index update.
    HRESULT PerformTransfer(IInfoNode* row) override;

    // A whole run over one project, its top table handled by progId.
    HRESULT Sync(const std::string& progId, const std::string& url);
    // One table handed row by row to the plug-in named by progId.
    HRESULT RunConfig(const std::string& progId, const std::string& url);
    // Reports a project text that cannot be run, with it as insertion
    // string; E_INVALIDARG.
    HRESULT RefuseProject(const std::string& text);

private:
    void ShowProgress(IInfoNode* row, int index, int count);
    // Takes the thread's error information and applies the error level.
    void ReportError(int level);
    // An event of the core with optional insertion string, then the level.
    void Fail(DWORD eventId, const std::string& insertion = {});

    CActiveSyncMsg status_;
    DWORD messageTtl_ = 3000;
    DeviceSession session_;
};

// Creates an empty, uniquely named file in the desktop's temporary folder;
// its name starts with the first three characters of prefix ("Qv-" when
// null). False when the file cannot be created.
bool GetTempFileNameWithPrefix(std::string& out, const char* prefix = nullptr);

}  // namespace vorlan
