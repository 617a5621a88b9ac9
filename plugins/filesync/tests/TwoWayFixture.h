#pragma once
// What the two-way tests share: the desktop's state file kept in the
// test's own folder (%APPDATA% points there), the device's record store
// emptied for each test, and both sides' files and records read back.
#include <optional>

#include "FileSyncFixture.h"
#include "TwoWayState.h"

namespace vorlan::filesync::testing {

class TwoWaySuite : public FileSyncSuite {
public:
    void SetUp() override;
    // Events are counted from here on; the files and stores stay.
    void MarkEvents() { FileSyncSuite::SetUp(); }

    std::string StatePath() const;
    TwoWayState LoadState() const;
    void SaveState(const TwoWayState& state) const;
    std::optional<uint32_t> WsRecord(const std::string& wsPath) const;
    std::optional<std::string> WsConflict(const std::string& wsPath) const;
    std::optional<uint32_t> DeviceRecord(const std::string& devPath) const;
    void SetDeviceRecord(const std::string& devPath, uint32_t crc) const;
    std::string DeviceStoreBytes() const;

    // A file's bytes, or nothing when it is not there.
    static std::optional<std::string> LocalFile(const std::string& path);
    std::optional<std::string> DeviceFile(const std::string& devPath) const;
    void PutDevice(const std::string& devPath, const std::string& bytes) const;
    void PutLocal(const std::string& path, const std::string& bytes) const;
    std::wstring DeviceHost(const std::string& devPath) const;
    static void RemoveLocalTree(const std::string& path);

    // Everything both sides and both record stores hold, for "nothing
    // changed" checks.
    std::vector<std::string> Everything(const std::string& wsFolder, const std::string& devFolder) const;

    std::string appData_;
};

}  // namespace vorlan::filesync::testing
