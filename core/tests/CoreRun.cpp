#include "CoreRun.h"

#include <fstream>
#include <sstream>

#include "Bstr.h"
#include "ComPtr.h"
#include "EventSources.h"
#include "EventStore.h"
#include "corvath.h"

namespace vorlan::testing {

namespace {

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Narrow(const std::wstring& text) { return com::AnsiFromWide(text); }

}  // namespace

CoreRun::CoreRun() : journal_(folder_ / "journal.txt") {
    device_.UseForRapi();
    CreateDirectoryW(device_.HostPath(L"\\Program Files\\Dravenhall").c_str(), nullptr);
    CreateDirectoryW(device_.HostPath(L"\\Program Files\\Dravenhall\\Vorlan").c_str(), nullptr);
    SetEnvironmentVariableA("VORLAN_RECORDER_JOURNAL", journal_.c_str());
    SetEnvironmentVariableA("VORLAN_RECORDER_FAIL_INIT", nullptr);
    log_ = UniqueName("VorlanCoreTest");
    logFile_ = folder_ / "events.evl";
    eventlog::SetLogFile(log_, logFile_);
    // The core reports under "Vorlan": the test's log must be the only one
    // that holds it, whatever an earlier run left behind.
    for (int i = 0; i < 1000; ++i) {
        if (eventlog::UnregisterSource(eventlog::FindSourceLog("Vorlan"), "Vorlan") != ERROR_SUCCESS) break;
    }
    eventlog::RegisterSource(log_, "Vorlan", MESSAGES_PATH);
}

CoreRun::~CoreRun() {
    eventlog::UnregisterSource(log_, "Vorlan");
    eventlog::DeleteLog(log_);
    SetEnvironmentVariableA("VORLAN_RECORDER_JOURNAL", nullptr);
}

std::string CoreRun::Table(const std::string& name, const std::string& table,
                           const std::vector<std::vector<std::pair<std::string, std::string>>>& rows) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>";
    for (const auto& row : rows) {
        xml += "\n\t<" + table;
        for (const auto& [key, value] : row) xml += " " + key + "=\"" + Escape(value) + "\"";
        xml += "/>";
    }
    xml += "\n</root>\n";
    const std::string path = folder_ / name;
    WriteFileBytes(path, xml);
    return path;
}

std::vector<std::pair<std::string, std::string>> CoreRun::Component(
    const std::string& progId, const std::string& configUrl, const std::string& name,
    const std::string& version, const std::string& patch, const std::string& alwaysSync) {
    return {{"ProgId", progId},   {"ConfigUrl", configUrl}, {"Name", name},
            {"Version", version}, {"AlwaysSync", alwaysSync}, {"Patch", patch}};
}

HRESULT CoreRun::Sync(const std::string& url) {
    com::ComPtr<IVorlanMain> main;
    HRESULT hr = com::CreateInstance(CLSID_VorlanMain, main);
    if (FAILED(hr)) return hr;
    main->Init();
    return main->Sync(url.empty() ? nullptr : com::Bstr::FromAnsi(url).Get());
}

std::vector<std::string> CoreRun::Journal() const {
    std::vector<std::string> lines;
    std::ifstream in(journal_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void CoreRun::ClearJournal() const { DeleteFileA(journal_.c_str()); }

std::vector<EventRecord> CoreRun::Events() const {
    DecodedLog decoded;
    eventlog::EventStore(logFile_, eventlog::kDefaultMaxLogSize).Read(decoded);
    return decoded.records;
}

std::vector<uint32_t> CoreRun::EventIds() const {
    std::vector<uint32_t> ids;
    for (const EventRecord& record : Events()) ids.push_back(record.eventId);
    return ids;
}

uint32_t CoreRun::LastEventId() const {
    const auto ids = EventIds();
    return ids.empty() ? 0 : ids.back();
}

std::wstring CoreRun::IndexHostPath() const {
    return device_.HostPath(L"\\Program Files\\Dravenhall\\Vorlan\\Vorlan.sdo");
}

std::string CoreRun::Index(const std::string& section, const char* key) const {
    char value[256] = {};
    GetPrivateProfileStringA(section.c_str(), key, "", value, sizeof value, Narrow(IndexHostPath()).c_str());
    return value;
}

}  // namespace vorlan::testing
