#pragma once
// The device's system library as the emulator calls it: the functions of
// the coredll.dll it loaded, by name, so the emulator's own calls keep
// reaching the desktop.
#include <windows.h>

#include <string>

#include "Coredll.h"
#include "DeviceControl.h"

namespace vorlan::device {

#define VORLAN_DEVICE_CALLS(X)                                                                                   \
    X(CreateFileW) X(GetFileAttributesW) X(SetFileAttributesW) X(CreateDirectoryW) X(RemoveDirectoryW)           \
    X(DeleteFileW) X(MoveFileW) X(CopyFileW) X(FindFirstFileW) X(FindNextFileW) X(FindClose) X(CeOidGetInfo)     \
    X(RegOpenKeyExW) X(RegCreateKeyExW) X(RegCloseKey) X(RegDeleteKeyW) X(RegDeleteValueW) X(RegQueryValueExW)   \
    X(RegSetValueExW) X(RegEnumKeyExW) X(RegEnumValueW) X(RegQueryInfoKeyW) X(GetSystemInfo)                     \
    X(GlobalMemoryStatus) X(GetVersionExW) X(GetStoreInformation) X(SHGetSpecialFolderPath) X(GetTempPathW)     \
    X(GetSystemMetrics) X(CreateProcessW) X(LoadLibraryW) X(GetProcAddressW) X(DeviceOpen) X(DeviceFlush)       \
    X(DeviceSetUnreadable) X(DeviceQueueMessageBoxAnswer) X(DeviceIsDeviceWindow) X(DeviceHostPath) \
    X(DeviceRootCheckTime) X(DeviceJournal)

struct DeviceCalls {
#define VORLAN_DECLARE_CALL(name) decltype(&::name) name = nullptr;
    VORLAN_DEVICE_CALLS(VORLAN_DECLARE_CALL)
#undef VORLAN_DECLARE_CALL
    // Loads the library and finds every function; false names the first missing.
    bool Load(const std::wstring& path, std::string& missing);
};

extern DeviceCalls Ce;

}  // namespace vorlan::device
