#pragma once
// What the tests of the file engine share: one emulated device with the
// device library installed, an event source of the test's own (named to
// the engine through RegInfoKey) writing into a log the test reads, a
// temporary workstation folder, and engines made and initialised there.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EventRecord.h"
#include "FileSync.h"
#include "SharedDeviceSuite.h"
#include "TestSupport.h"

namespace vorlan::filesync::testing {

class FileSyncSuite : public vorlan::testing::SharedDeviceSuite<FileSyncSuite> {
public:
    static std::string Profile() { return vorlan::testing::kVorlanInstalled; }
    static void SetUpTestSuite();
    static void TearDownTestSuite();

protected:
    void SetUp() override;
    void TearDown() override;

    // A new engine reporting under the test's source, its ParentUrl the
    // path of a table in the test's folder; initialised unless told not to.
    std::unique_ptr<CFileSync> Engine(bool init = true);
    HRESULT Run(CFileSync& engine, const std::string& origin, const std::string& destination,
                const std::string& fileAttributes, const std::string& downloadAttributes = {});

    // Events since the test began, oldest first.
    std::vector<EventRecord> Events() const;
    std::vector<uint32_t> EventIds() const;
    // The single event of the test, checked: its identifier and insertion.
    void ExpectOneEvent(uint32_t id, const std::string& insertion = {}) const;

    // Device files through the emulator's root.
    std::string DeviceBytes(const std::wstring& devicePath) const;
    void PutDeviceFile(const std::wstring& devicePath, const std::string& bytes) const;
    bool DeviceExists(const std::wstring& devicePath) const;

    const std::string& ParentUrl() const { return parentUrl_; }
    static const std::string& RegInfoKey() { return regInfoKey_; }
    std::string Local(const std::string& name) const { return folder_ / name; }
    // Writes a workstation file, creating its folders.
    void PutLocalFile(const std::string& name, const std::string& bytes) const;

    vorlan::testing::TempFolder folder_;

private:
    vorlan::testing::ComScope com_;
    std::string parentUrl_;
    size_t eventsBefore_ = 0;
    static inline std::string source_, log_, logFile_, regInfoKey_;
    static inline vorlan::testing::TempFolder* logFolder_ = nullptr;
};

// Every file below a folder as "relative\path=bytes", sorted.
std::vector<std::string> Tree(const std::string& folder);

}  // namespace vorlan::filesync::testing
