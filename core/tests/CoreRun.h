#pragma once
// What a test of a whole synchronisation needs: an emulated device, a
// project in a temporary folder, the recording plug-in's journal, and the
// core's event source "Vorlan" writing into a log of the test's own.
#include <windows.h>

#include <string>
#include <vector>

#include "DeviceEmulator.h"
#include "EventRecord.h"
#include "TestSupport.h"

namespace vorlan::testing {

class CoreRun {
public:
    CoreRun();
    ~CoreRun();

    // Writes a table of the project: rows of attributes, each row element
    // named by table.
    std::string Table(const std::string& name, const std::string& table,
                      const std::vector<std::vector<std::pair<std::string, std::string>>>& rows);
    // A component row of the top table.
    static std::vector<std::pair<std::string, std::string>> Component(
        const std::string& progId, const std::string& configUrl, const std::string& name,
        const std::string& version = "1.0", const std::string& patch = "0",
        const std::string& alwaysSync = "0");

    // Creates Corvath.VorlanMain, Init, Sync(url); the result of Sync.
    HRESULT Sync(const std::string& url);

    // Lines the recording plug-in wrote.
    std::vector<std::string> Journal() const;
    void ClearJournal() const;
    // Events of the run, oldest first.
    std::vector<EventRecord> Events() const;
    std::vector<uint32_t> EventIds() const;
    // The identifier of the newest event, 0 when there is none.
    uint32_t LastEventId() const;
    // A key of a section of the device's component index ("" when absent).
    std::string Index(const std::string& section, const char* key) const;
    std::wstring IndexHostPath() const;

    DeviceEmulator& Device() { return device_; }
    const TempFolder& Folder() const { return folder_; }

private:
    TempFolder folder_;
    DeviceEmulator device_;
    std::string journal_;
    std::string log_;
    std::string logFile_;
};

}  // namespace vorlan::testing
