#include "RegSyncFixture.h"

#include <algorithm>

#include "Bstr.h"
#include "CeRapi.h"
#include "DeviceEmulator.h"
#include "EventSources.h"
#include "EventStore.h"
#include "RegistryByPath.h"

namespace vorlan::regsync::testing {
namespace {

using vorlan::testing::UniqueName;

struct Split {
    HKEY root = nullptr;
    std::wstring subKey, valueName;
};

Split SplitPath(const std::string& path) {
    Split out;
    std::string subKey, valueName;
    EXPECT_TRUE(SplitRegistryPath(path, &out.root, &subKey, &valueName)) << path;
    out.subKey = com::WideFromAnsi(subKey);
    out.valueName = com::WideFromAnsi(valueName);
    return out;
}

// Reads a value through one side's open and query functions.
template <class Open, class Query, class Close>
StoredValue ReadValue(const std::string& path, Open open, Query query, Close close) {
    const Split p = SplitPath(path);
    HKEY key = nullptr;
    if (open(p.root, p.subKey.c_str(), &key) != ERROR_SUCCESS) return {};
    StoredValue value;
    BYTE data[16384];
    DWORD size = sizeof data;
    if (query(key, p.valueName.c_str(), &value.type, data, &size) == ERROR_SUCCESS)
        value.bytes.assign(reinterpret_cast<const char*>(data), size);
    else
        value = {};
    close(key);
    return value;
}

}  // namespace

void RegSyncSuite::SetUpTestSuite() {
    SharedDeviceSuite::SetUpTestSuite();
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", "default");
    logFolder_ = new vorlan::testing::TempFolder;
    source_ = UniqueName("TolvaneTest");
    log_ = source_ + "Log";
    logFile_ = *logFolder_ / "events.evl";
    eventlog::SetLogFile(log_, logFile_);
    eventlog::RegisterSource(log_, source_, MESSAGES_PATH);
    testKey_ = "HKEY_CURRENT_USER\\Software\\Dravenhall\\VorlanTests\\" + source_;
    regInfoKey_ = testKey_ + "Settings\\EventSource";
    RegWriteString(regInfoKey_, source_.c_str());
}

void RegSyncSuite::TearDownTestSuite() {
    for (const std::string& key : {testKey_, testKey_ + "Settings"})
        RegDeleteTreeW(HKEY_CURRENT_USER, com::WideFromAnsi(key.substr(key.find('\\') + 1)).c_str());
    eventlog::UnregisterSource(log_, source_);
    eventlog::DeleteLog(log_);
    delete logFolder_;
    logFolder_ = nullptr;
    SharedDeviceSuite::TearDownTestSuite();
}

void RegSyncSuite::SetUp() {
    eventsBefore_ = 0;
    eventsBefore_ = Events().size();
}

std::unique_ptr<CRegSync> RegSyncSuite::Engine(bool init) {
    auto engine = std::make_unique<CRegSync>();
    engine->put_RegInfoKey(com::Bstr::FromAnsi(regInfoKey_).Get());
    if (init) {
        EXPECT_EQ(engine->Init(), S_OK);
    }
    return engine;
}

StoredValue RegSyncSuite::DeviceValue(const std::string& path) {
    vorlan::testing::RapiSession session;
    EXPECT_TRUE(session.Connected());
    return ReadValue(
        path, [](HKEY root, const wchar_t* sub, HKEY* key) { return CeRegOpenKeyEx(root, sub, 0, KEY_READ, key); },
        [](HKEY key, const wchar_t* name, DWORD* type, BYTE* data, DWORD* size) {
            return CeRegQueryValueEx(key, name, nullptr, type, data, size);
        },
        [](HKEY key) { CeRegCloseKey(key); });
}

StoredValue RegSyncSuite::WorkstationValue(const std::string& path) {
    return ReadValue(
        path, [](HKEY root, const wchar_t* sub, HKEY* key) { return RegOpenKeyExW(root, sub, 0, KEY_READ, key); },
        [](HKEY key, const wchar_t* name, DWORD* type, BYTE* data, DWORD* size) {
            return RegQueryValueExW(key, name, nullptr, type, data, size);
        },
        [](HKEY key) { RegCloseKey(key); });
}

bool RegSyncSuite::DeviceKeyExists(const std::string& keyPath) {
    vorlan::testing::RapiSession session;
    const Split p = SplitPath(keyPath + "\\");
    HKEY key = nullptr;
    if (CeRegOpenKeyEx(p.root, p.subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    CeRegCloseKey(key);
    return true;
}

bool RegSyncSuite::WorkstationKeyExists(const std::string& keyPath) {
    const Split p = SplitPath(keyPath + "\\");
    HKEY key = nullptr;
    if (RegOpenKeyExW(p.root, p.subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::vector<EventRecord> RegSyncSuite::Events() const {
    DecodedLog decoded;
    eventlog::EventStore(logFile_, eventlog::kDefaultMaxLogSize).Read(decoded);
    std::vector<EventRecord> records = decoded.records;
    records.erase(records.begin(), records.begin() + std::min(eventsBefore_, records.size()));
    return records;
}

void RegSyncSuite::ExpectOneEvent(uint32_t id, const std::string& insertion) const {
    const auto events = Events();
    ASSERT_EQ(events.size(), 1u) << "events: " << events.size();
    EXPECT_EQ(events[0].eventId, id) << std::hex << events[0].eventId;
    EXPECT_EQ(events[0].source, source_);
    if (insertion.empty()) {
        EXPECT_TRUE(events[0].strings.empty());
    } else {
        ASSERT_FALSE(events[0].strings.empty());
        EXPECT_EQ(events[0].strings[0], insertion);
    }
}

}  // namespace vorlan::regsync::testing
