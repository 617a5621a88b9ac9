#pragma once
// What the registry plug-in's tests share: one emulated device, an event
// source of the suite's own (named to the engines through RegInfoKey)
// writing into a log the tests read, a key of the run's own in the
// workstation's registry, and the values of either registry read back
// straight through its registry functions.
#include <gtest/gtest.h>

#include <memory>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "EventRecord.h"
#include "RegSync.h"
#include "SharedDeviceSuite.h"
#include "TestSupport.h"

namespace vorlan::regsync::testing {

// A value as a registry holds it; type 0 and no bytes when it is absent.
struct StoredValue {
    DWORD type = 0;
    std::string bytes;
    bool operator==(const StoredValue&) const = default;
};

// The bytes of a UTF-16 text with its terminator, and of a list of bytes.
inline std::string Text16(std::wstring_view text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2) + std::string(2, '\0');
}
inline std::string Bytes(std::initializer_list<unsigned char> bytes) { return std::string(bytes.begin(), bytes.end()); }

class RegSyncSuite : public vorlan::testing::SharedDeviceSuite<RegSyncSuite> {
public:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    void SetUp() override;

    // A new engine reporting under the suite's source; initialised unless told not to.
    std::unique_ptr<CRegSync> Engine(bool init = true);

    // "HKEY_CURRENT_USER\Software\Dravenhall\VorlanTests\<run>" on the
    // workstation; the device's own test key is the same path, so a value
    // that lands on the wrong side shows.
    static const std::string& TestKey() { return testKey_; }
    static const std::string& RegInfoKey() { return regInfoKey_; }

    // Reads "ROOT\key\value" on the device (over the remote API) or the workstation.
    static StoredValue DeviceValue(const std::string& path);
    static StoredValue WorkstationValue(const std::string& path);
    static bool DeviceKeyExists(const std::string& keyPath);
    static bool WorkstationKeyExists(const std::string& keyPath);

    // Events since the test began, oldest first.
    std::vector<EventRecord> Events() const;
    // The single event of the test, checked: its identifier and insertion.
    void ExpectOneEvent(uint32_t id, const std::string& insertion = {}) const;

private:
    vorlan::testing::ComScope com_;
    size_t eventsBefore_ = 0;
    static inline std::string source_, log_, logFile_, regInfoKey_, testKey_;
    static inline vorlan::testing::TempFolder* logFolder_ = nullptr;
};

}  // namespace vorlan::regsync::testing
