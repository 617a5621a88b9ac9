#include "DevicePluginSuite.h"

#include <algorithm>

#include "Bstr.h"
#include "CeRapi.h"
#include "DeviceEmulator.h"
#include "EventSources.h"
#include "EventStore.h"
#include "RegistryByPath.h"

namespace vorlan::testing {

std::string DevicePluginSuite::Profile() {
    // The start menu's folder exists, as on a real device; the device has
    // no network folder.
    return std::string(kVorlanInstalled) + "Directory = \\Windows\\Start Menu\nFolder.18 =\n";
}

void DevicePluginSuite::SetUpTestSuite() {
    SharedDeviceSuite::SetUpTestSuite();
    ASSERT_TRUE(device->InstallOstrum());
    for (auto [from, to] : {std::pair{VORLAN_DEVWIN, L"\\Windows\\devwin.exe"},
                            std::pair{VORLAN_SLEEPER, L"\\Windows\\sleeper.exe"}})
        ASSERT_TRUE(device->Install(BuildPath(from), to));
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", "default");
    logFolder_ = new TempFolder;
    source_ = UniqueName("DevicePluginTest");
    log_ = source_ + "Log";
    logFile_ = *logFolder_ / "events.evl";
    eventlog::SetLogFile(log_, logFile_);
    eventlog::RegisterSource(log_, source_, MESSAGES_PATH);
    regInfoKey_ = "HKEY_CURRENT_USER\\Software\\Dravenhall\\VorlanTests\\" + source_ + "\\EventSource";
    RegWriteString(regInfoKey_, source_.c_str());
}

void DevicePluginSuite::TearDownTestSuite() {
    RegDeleteTreeW(HKEY_CURRENT_USER, com::WideFromAnsi("Software\\Dravenhall\\VorlanTests\\" + source_).c_str());
    eventlog::UnregisterSource(log_, source_);
    eventlog::DeleteLog(log_);
    delete logFolder_;
    logFolder_ = nullptr;
    SharedDeviceSuite::TearDownTestSuite();
}

void DevicePluginSuite::SetUp() { MarkEvents(); }

void DevicePluginSuite::MarkEvents() {
    eventsBefore_ = 0;
    eventsBefore_ = Events().size();
}

void DevicePluginSuite::UseSuiteSource(IMySync& engine) {
    engine.put_RegInfoKey(com::Bstr::FromAnsi(regInfoKey_).Get());
}

std::vector<EventRecord> DevicePluginSuite::Events() const {
    DecodedLog decoded;
    eventlog::EventStore(logFile_, eventlog::kDefaultMaxLogSize).Read(decoded);
    std::vector<EventRecord> records = decoded.records;
    records.erase(records.begin(), records.begin() + std::min(eventsBefore_, records.size()));
    return records;
}

void DevicePluginSuite::ExpectOneEvent(uint32_t id, const std::string& insertion) const {
    const auto events = Events();
    if (id == 0) {
        EXPECT_TRUE(events.empty()) << "events: " << events.size() << " first " << std::hex
                                    << (events.empty() ? 0 : events[0].eventId);
        return;
    }
    ASSERT_EQ(events.size(), 1u) << "events: " << events.size();
    EXPECT_EQ(events[0].eventId, id) << std::hex << events[0].eventId;
    EXPECT_EQ(events[0].source, source_);
    if (insertion.empty()) {
        EXPECT_TRUE(events[0].strings.empty() || events[0].strings[0].empty());
    } else {
        ASSERT_FALSE(events[0].strings.empty());
        EXPECT_EQ(events[0].strings[0], insertion);
    }
}

}  // namespace vorlan::testing
