#pragma once
// Starts a device emulator for a test: a fresh device root, a free port and
// the given profile; the test's remote API calls reach it after
// UseForRapi(), and it stops when the object goes.
//
//   vorlan::testing::DeviceEmulator device;   // started and reachable
//   device.UseForRapi();
//   vorlan::testing::RapiSession session;     // CeRapiInitEx + wait
//   ASSERT_TRUE(session.Connected());
//   CeGetFileAttributes(L"\\Windows");       // ... any Ce* call
#include <windows.h>

#include <string>
#include <vector>

#include "DeviceChannel.h"
#include "Journal.h"

namespace vorlan::testing {

// The Windows path of a file of the build tree, whose Unix path CMake gave.
std::wstring BuildPath(const char* unixPath);

// Profile lines of a device on which the project's device pieces are
// installed: InstallDir, the record file's location (TwoWaySyncData) and
// its folder. Add other lines after them.
extern const char kVorlanInstalled[];

class DeviceEmulator {
public:
    // profile: lines of the device profile (see Profile.h); empty for the
    // defaults. root: an existing folder to serve as the device's files
    // (kept afterwards); empty for a fresh one. options: more of the
    // emulator's command line ("--transport tcp").
    explicit DeviceEmulator(const std::string& profile = "", const std::wstring& root = L"",
                            const std::wstring& options = L"");
    ~DeviceEmulator();
    DeviceEmulator(const DeviceEmulator&) = delete;
    DeviceEmulator& operator=(const DeviceEmulator&) = delete;

    // Points this process's remote API at this emulator (VORLAN_DEVICE).
    void UseForRapi() const;
    // Stops the emulator and starts it again on the same root and state.
    void Restart();
    void Stop();
    // Ends the emulator at once, as a crash would (Restart starts it again).
    void Kill();
    HANDLE Process() const { return process_.hProcess; }

    const std::wstring& Root() const { return root_; }
    const std::wstring& State() const { return state_; }
    // The desktop path of a device path ("\Windows\x" under the root).
    std::wstring HostPath(const std::wstring& devicePath) const;
    // Copies a desktop file onto the device; false when it cannot.
    bool Install(const std::wstring& hostFile, const std::wstring& devicePath) const;
    // Puts the build's Ostrum.dll into the device's \Windows.
    bool InstallOstrum() const;
    // Puts the build's Zephrin.dll, the replication service and Ostrum into
    // \Windows and registers Zephrin through Ostrum, as the installation
    // does (ActiveSyncInstall.cpp). Needs UseForRapi() first.
    bool InstallZephrin() const;
    // The emulator's own program folder (the device libraries are there).
    static std::wstring ProgramFolder();

    // Test control.
    std::vector<device::JournalEntry> Journal();
    // Entries of one kind, in order.
    std::vector<device::JournalEntry> Journal(const std::string& kind);
    // Holds a device file open with the share mode given; 0 when it cannot.
    uint32_t HoldFile(const std::wstring& devicePath, DWORD share, DWORD access = GENERIC_READ);
    bool ReleaseFile(uint32_t hold);
    bool SetUnreadable(const std::wstring& devicePath, bool unreadable);
    bool Disconnect();
    bool Reconnect();
    // The next message box on the device answers with this button.
    bool QueueMessageBoxAnswer(int answer);
    // The desktop connections the emulator serves, by transport.
    bool Connections(uint32_t& sockets, uint32_t& rings);
    // Time the device spent so far checking that paths stay inside its
    // root, and the number of checks.
    bool RootCheckTime(uint64_t& nanoseconds, uint64_t& checks);
    // A control request; the answer's fields (after the device error) in answer.
    bool Control(device::WireWriter& request, std::vector<uint8_t>& answer);

private:
    void Start();

    std::wstring folder_, root_, state_, profilePath_, options_;
    PROCESS_INFORMATION process_ = {};
    device::DeviceChannel control_;
};

// One counted remote API session, waited for as every caller does (2 s).
class RapiSession {
public:
    explicit RapiSession(DWORD waitMs = 2000);
    ~RapiSession();
    RapiSession(const RapiSession&) = delete;
    RapiSession& operator=(const RapiSession&) = delete;
    bool Connected() const { return connected_; }

private:
    bool started_ = false, connected_ = false;
};

}  // namespace vorlan::testing
