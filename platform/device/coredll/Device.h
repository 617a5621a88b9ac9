#pragma once
// The state of the emulated device inside this process: where its files
// are, its registry, object identifiers, programs and journal.
#include <windows.h>

#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "CeTypes.h"
#include "DevicePath.h"
#include "Profile.h"
#include "RegistryTree.h"

namespace vorlan::device {

inline const char16_t* U16(LPCWSTR text) { return reinterpret_cast<const char16_t*>(text); }
inline LPCWSTR W(const std::u16string& text) { return reinterpret_cast<LPCWSTR>(text.c_str()); }
inline std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

struct HostPath {
    DWORD error = 0;
    std::wstring host;       // the path below the root folder
    std::u16string device;   // the normalised device path
};

// Gives a device what it has from the start (see Provision.cpp).
void Provision(const DeviceProfile& profile);

// Opens the device from the environment when this process is one of the
// device's programs.
void EnsureOpen();

class Device {
public:
    static Device& Get();

    bool Open(const std::wstring& root, const std::wstring& state, const std::wstring& profile, bool primary);
    bool IsOpen() const { return open_; }
    bool IsPrimary() const { return primary_; }
    const DeviceProfile& Profile() const { return profile_; }
    const std::wstring& Root() const { return root_; }
    const std::wstring& State() const { return state_; }

    // Maps a device path to the host, refusing escapes, unreadable folders
    // and links that leave the root. For a pattern the folder is checked.
    HostPath Map(LPCWSTR path, PathUse use = PathUse::Name);
    // Maps and sets the thread's last error on failure.
    bool MapOrFail(LPCWSTR path, HostPath& out, PathUse use = PathUse::Name);

    void SetUnreadable(const std::u16string& devicePath, bool unreadable);
    // Time spent checking that paths stay inside the root, in performance
    // counter ticks, and the number of checks.
    void RootCheckTime(uint64_t& ticks, uint64_t& checks) const;

    // Object identifiers: stable per path while the file lives.
    CEOID OidOf(const std::u16string& devicePath);
    bool PathOfOid(CEOID oid, std::u16string& devicePath);
    // Forgets a path's identifier, and those of everything below it for a folder.
    void ForgetOid(const std::u16string& devicePath, bool folder = false);
    void MoveOids(const std::u16string& from, const std::u16string& to);

    // The registry, under its lock; SaveHive after changes.
    std::recursive_mutex& RegistryLock() { return registryLock_; }
    RegistryTree& Registry() { return registry_; }
    DWORD SaveHive();

    void AddProcess(DWORD pid);
    bool IsDeviceProcess(DWORD pid);
    void AdoptProcess(HANDLE process);

    void QueueAnswer(int answer);
    bool NextAnswer(int& answer);

    bool Journal(const std::string& line);
    void Flush();

private:
    Device() = default;
    bool InsideRoot(const std::wstring& host);
    bool CheckInsideRoot(const std::wstring& host);
    bool FinalPathInside(const std::wstring& host);
    bool WriteStateFile(const wchar_t* name, const std::vector<uint8_t>& bytes);
    bool ReadStateFile(const wchar_t* name, std::vector<uint8_t>& bytes);
    void LoadOids();

    bool open_ = false, primary_ = false;
    std::wstring root_, rootFinal_, state_;
    std::atomic<uint64_t> rootCheckTicks_{0}, rootChecks_{0};
    DeviceProfile profile_;

    std::mutex lock_;  // paths, identifiers, processes, answers
    std::set<std::u16string> unreadable_;
    std::unordered_map<std::u16string, CEOID> oids_;
    std::map<CEOID, std::u16string> oidPaths_;
    CEOID nextOid_ = 0x00010001;
    bool oidsDirty_ = false;
    std::set<DWORD> processes_;
    HANDLE job_ = nullptr;
    std::deque<int> answers_;

    std::recursive_mutex registryLock_;
    RegistryTree registry_;
};

}  // namespace vorlan::device
