#include "PackageSync.h"

#include <algorithm>
#include <vector>

#include "Bstr.h"
#include "ComPtr.h"
#include "ComponentDue.h"
#include "ComponentIndex.h"
#include "DeviceFileCopy.h"
#include "NodeFields.h"
#include "ProgressLine.h"
#include "RegistryByPath.h"
#include "Settings.h"
#include "CeDeviceInfo.h"
#include "Url.h"
#include "UrlNormalForm.h"
#include "UserOrMachine.h"
#include "VorlanMessages.h"
#include "XmlSql.h"
#include "corvath.h"

namespace vorlan {

using com::Bstr;
using com::ComPtr;

namespace {

// What the two engine levels of one run share; one run at a time per
// process, on one thread.
struct RunState {
    // The desktop copy of the device's component index; "" when none could
    // be made.
    std::string indexPath;
    // False when the device holds an index that could not be read: the run
    // then never writes the index back, so nothing recorded there is lost.
    bool indexKnown = true;
    bool errorsSeen = false;
    DWORD errorLevel = 0;
    // Tables being run, outermost first, to cut cycles in a project; in
    // their comparison form, so that no spelling of a table enters it again.
    std::vector<std::string> openTables;
};

RunState& Run() {
    static RunState state;
    return state;
}

// Marks a table as being run for the life of the object.
class OpenTable {
public:
    explicit OpenTable(const std::string& url) { Run().openTables.push_back(UrlComparisonForm(url)); }
    ~OpenTable() { Run().openTables.pop_back(); }
    OpenTable(const OpenTable&) = delete;
    OpenTable& operator=(const OpenTable&) = delete;
};

bool IsOpen(const std::string& url) {
    const auto& open = Run().openTables;
    return std::find(open.begin(), open.end(), UrlComparisonForm(url)) != open.end();
}

}  // namespace

HRESULT CPackageSync::Init() {
    char source[64] = {};
    if (RegInfoKey().empty() || RegReadString(RegInfoKey(), source, sizeof source) != ERROR_SUCCESS)
        lstrcpynA(source, "Vorlan", sizeof source);
    ErrorReport().Init(CLSID_Vorlan, nullptr, source, 1033, nullptr);
    // A second Init replaces this engine's session rather than adding one.
    const HRESULT hr = session_.Open(kDeviceWaitMs);
    if (FAILED(hr)) {
        ErrorReport().ReportError(EVT_DEVICE_NOT_CONNECTED, EVENTLOG_ERROR_TYPE, 0, {});
        return hr;
    }
    return S_OK;
}

HRESULT CPackageSync::Sync(const std::string& progId, const std::string& url) {
    RunState& run = Run();
    run.errorsSeen = false;
    ReadUserOrMachineDword(settings::kMessageTtl, &messageTtl_);
    ReadUserOrMachineDword(settings::kErrorLevel, &run.errorLevel);

    run.indexKnown = false;
    if (GetTempFileNameWithPrefix(run.indexPath, "Qv-")) {
        // No index on the device yet is an empty index: every component is new.
        const HRESULT fetched = CopyDeviceFile(kDeviceIndexPath, run.indexPath, false);
        run.indexKnown = SUCCEEDED(fetched) || IsNotFound(fetched);
    } else {
        run.indexPath.clear();
    }

    const HRESULT result = RunConfig(progId, url);

    if (!run.indexPath.empty()) DeleteFileA(run.indexPath.c_str());
    run.indexPath.clear();
    if (run.errorsSeen && run.errorLevel == 1) {
        ErrorReport().SetErrorText(EVT_ERRORS_SEEN, 0, {});
        ReportError(2);
    }
    return result;
}

HRESULT CPackageSync::RefuseProject(const std::string& text) {
    Fail(EVT_NOT_A_URL, text);
    return E_INVALIDARG;
}

HRESULT CPackageSync::RunConfig(const std::string& progId, const std::string& url) {
    std::string text = url;
    {
        CCeDeviceInfo device;
        device.Init();
        device.ReplaceSystemVariables(url, text);
    }
    if (!IsUrl(text.c_str())) {
        Fail(EVT_NOT_A_URL, text);
        return E_INVALIDARG;
    }
    if (IsOpen(text)) {
        // The table contains itself through its components: run it once.
        Fail(EVT_ITEM_UNUSABLE, text);
        return E_INVALIDARG;
    }
    OpenTable open(text);

    CXmlSql sql;
    CMapArray* rows = nullptr;
    const HRESULT read = sql.Execute(text, &rows);
    if (read == S_FALSE) {
        Fail(EVT_CANNOT_OPEN, text);
        return E_INVALIDARG;
    }
    if (FAILED(read) || !rows) {
        Fail(EVT_ITEM_UNUSABLE);
        return E_POINTER;
    }

    CLSID clsid = {};
    if (FAILED(CLSIDFromProgID(com::WideFromAnsi(progId).c_str(), &clsid))) {
        Fail(EVT_ITEM_UNUSABLE);
        return E_INVALIDARG;
    }
    ComPtr<IVorlan> plugin;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IVorlan,
                                plugin.PutVoid())) ||
        !plugin) {
        Fail(EVT_PLUGIN_NOT_CREATED);
        return E_POINTER;
    }
    if (FAILED(plugin->Init())) {
        Fail(EVT_DEVICE_NOT_CONNECTED);
        return E_FAIL;
    }
    plugin->put_ParentUrl(Bstr::FromAnsi(url).Get());

    const int count = rows->GetSize();
    for (int i = 0; i < count; ++i) {
        ComPtr<IInfoNode> node;
        if (FAILED(rows->GetRowInfoNode(i, node.Put()))) continue;
        if (!node) {
            Fail(EVT_ITEM_UNUSABLE);
            continue;
        }
        ShowProgress(node.Get(), i + 1, count);
        if (plugin->PerformTransfer(node.Get()) != S_OK) ReportError(static_cast<int>(Run().errorLevel));
    }
    return read;
}

HRESULT CPackageSync::PerformTransfer(IInfoNode* row) {
    if (!row) {
        Fail(EVT_ITEM_UNUSABLE);
        return E_INVALIDARG;
    }
    const std::string progId = GetNodeField(row, "ProgId");
    const std::string configUrl = GetNodeField(row, "ConfigUrl");
    std::string name = GetNodeField(row, "Name");
    if (name.empty()) name = "Unnamed";
    const ComponentVersions versions =
        WithDefaults({GetNodeField(row, "Version"), GetNodeField(row, "Patch"), GetNodeField(row, "AlwaysSync")});

    RunState& run = Run();
    const ComponentIndex index(run.indexPath);
    const std::string indexVersion = run.indexPath.empty() ? "0" : index.Read(configUrl, "Version");
    const std::string indexPatch = run.indexPath.empty() ? "0" : index.Read(configUrl, "Patch");
    if (!IsComponentDue(versions, indexVersion, indexPatch)) return S_OK;

    std::string url = configUrl;
    std::string combined;
    if (SUCCEEDED(CombineUrl(configUrl.c_str(), ParentUrl().c_str(), &combined))) url = combined;

    const HRESULT result = RunConfig(progId, url);

    // Only a component that ran is recorded, so a failed one is tried again
    // at the next synchronisation.
    if (result == S_OK && run.indexKnown && !run.indexPath.empty()) {
        if (!index.Record(configUrl, name, versions.version, versions.patch) ||
            FAILED(CopyDeviceFile(run.indexPath, kDeviceIndexPath, true)))
            Fail(EVT_FILE_NOT_WRITTEN, kDeviceIndexPath);
    }
    return result;
}

void CPackageSync::ShowProgress(IInfoNode* row, int index, int count) {
    std::string name = GetNodeField(row, "Name");
    if (name.empty()) name = "Main";
    std::string pattern;
    if (ErrorReport().FormatMessageText(EVT_PROGRESS_LINE, pattern) != S_OK)
        pattern = kDefaultProgressTemplate;
    status_.SetStatus("Vorlan", FormatProgressLine(pattern, name, index, count));
}

void CPackageSync::ReportError(int level) {
    if (level == 0) return;
    ComPtr<IErrorInfo> error;
    if (GetErrorInfo(0, error.Put()) != S_OK || !error) return;
    Run().errorsSeen = true;
    if (level != 2) return;
    Bstr description;
    error->GetDescription(description.Put());
    status_.ShowBalloon("Dravenhall Sync", description.Ansi(), messageTtl_);
}

void CPackageSync::Fail(DWORD eventId, const std::string& insertion) {
    if (insertion.empty())
        ErrorReport().ReportError(eventId, EVENTLOG_ERROR_TYPE, 0, {});
    else
        ErrorReport().ReportErrorWithArg(eventId, EVENTLOG_ERROR_TYPE, 0, insertion);
    ReportError(static_cast<int>(Run().errorLevel));
}

bool GetTempFileNameWithPrefix(std::string& out, const char* prefix) {
    char folder[MAX_PATH] = {};
    char name[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) return false;
    if (GetTempFileNameA(folder, prefix ? prefix : "Qv-", 0, name) == 0) return false;
    out = name;
    return true;
}

}  // namespace vorlan
