#include "FileSyncFixture.h"

#include <algorithm>

#include "Bstr.h"
#include "EventSources.h"
#include "EventStore.h"
#include "RegistryByPath.h"

namespace vorlan::filesync::testing {

using vorlan::testing::ReadFileBytes;
using vorlan::testing::UniqueName;
using vorlan::testing::WriteFileBytes;

void FileSyncSuite::SetUpTestSuite() {
    SharedDeviceSuite::SetUpTestSuite();
    // No box may wait for a person.
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", "default");
    ASSERT_TRUE(device->InstallOstrum());
    logFolder_ = new vorlan::testing::TempFolder;
    source_ = UniqueName("FeldaneTest");
    log_ = source_ + "Log";
    logFile_ = *logFolder_ / "events.evl";
    eventlog::SetLogFile(log_, logFile_);
    eventlog::RegisterSource(log_, source_, MESSAGES_PATH);
    regInfoKey_ = "HKEY_CURRENT_USER\\Software\\Dravenhall\\VorlanTests\\" + source_ + "\\EventSource";
    RegWriteString(regInfoKey_, source_.c_str());
}

void FileSyncSuite::TearDownTestSuite() {
    eventlog::UnregisterSource(log_, source_);
    eventlog::DeleteLog(log_);
    delete logFolder_;
    logFolder_ = nullptr;
    SharedDeviceSuite::TearDownTestSuite();
}

void FileSyncSuite::SetUp() {
    parentUrl_ = folder_ / "files.xml";
    eventsBefore_ = 0;
    eventsBefore_ = Events().size();
}

void FileSyncSuite::TearDown() {}

std::unique_ptr<CFileSync> FileSyncSuite::Engine(bool init) {
    auto engine = std::make_unique<CFileSync>();
    engine->put_RegInfoKey(com::Bstr::FromAnsi(regInfoKey_).Get());
    engine->put_ParentUrl(com::Bstr::FromAnsi(parentUrl_).Get());
    if (init) {
        EXPECT_EQ(engine->Init(), S_OK);
    }
    return engine;
}

HRESULT FileSyncSuite::Run(CFileSync& engine, const std::string& origin, const std::string& destination,
                           const std::string& fileAttributes, const std::string& downloadAttributes) {
    return engine.TransferItem(origin, destination, fileAttributes, downloadAttributes);
}

std::vector<EventRecord> FileSyncSuite::Events() const {
    DecodedLog decoded;
    eventlog::EventStore(logFile_, eventlog::kDefaultMaxLogSize).Read(decoded);
    std::vector<EventRecord> records = decoded.records;
    records.erase(records.begin(), records.begin() + std::min(eventsBefore_, records.size()));
    return records;
}

std::vector<uint32_t> FileSyncSuite::EventIds() const {
    std::vector<uint32_t> ids;
    for (const EventRecord& record : Events()) ids.push_back(record.eventId);
    return ids;
}

void FileSyncSuite::ExpectOneEvent(uint32_t id, const std::string& insertion) const {
    const auto events = Events();
    ASSERT_EQ(events.size(), 1u) << "events: " << events.size();
    EXPECT_EQ(events[0].eventId, id) << std::hex << events[0].eventId;
    EXPECT_EQ(events[0].source, source_);
    if (!insertion.empty()) {
        ASSERT_FALSE(events[0].strings.empty());
        EXPECT_EQ(events[0].strings[0], insertion);
    }
}

std::string FileSyncSuite::DeviceBytes(const std::wstring& devicePath) const {
    return ReadFileBytes(com::AnsiFromWide(device->HostPath(devicePath)));
}

void FileSyncSuite::PutDeviceFile(const std::wstring& devicePath, const std::string& bytes) const {
    const std::wstring host = device->HostPath(devicePath);
    for (size_t at = host.find(L'\\', 3); at != std::wstring::npos; at = host.find(L'\\', at + 1))
        CreateDirectoryW(host.substr(0, at).c_str(), nullptr);
    WriteFileBytes(com::AnsiFromWide(host), bytes);
}

bool FileSyncSuite::DeviceExists(const std::wstring& devicePath) const {
    return GetFileAttributesW(device->HostPath(devicePath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void FileSyncSuite::PutLocalFile(const std::string& name, const std::string& bytes) const {
    const std::string path = folder_ / name;
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    WriteFileBytes(path, bytes);
}

namespace {

void Collect(const std::string& root, const std::string& relative, std::vector<std::string>& out) {
    WIN32_FIND_DATAA d;
    const std::string folder = relative.empty() ? root : root + "\\" + relative;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = d.cFileName;
        if (name == "." || name == "..") continue;
        const std::string rel = relative.empty() ? name : relative + "\\" + name;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back(rel + "\\");
            Collect(root, rel, out);
        } else {
            out.push_back(rel + "=" + ReadFileBytes(root + "\\" + rel));
        }
    } while (FindNextFileA(h, &d));
    FindClose(h);
}

}  // namespace

std::vector<std::string> Tree(const std::string& folder) {
    std::vector<std::string> out;
    Collect(folder, "", out);
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace vorlan::filesync::testing
