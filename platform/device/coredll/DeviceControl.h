#pragma once
// What the device emulator and the device's other system libraries ask of
// coredll.dll beyond the device's own functions.
#include <windows.h>

#ifdef VORLAN_COREDLL_BUILD
#define DEVICE_CONTROL_API extern "C"
#else
#define DEVICE_CONTROL_API extern "C" __declspec(dllimport)
#endif

// Opens the device: its root folder, its state folder (registry hive,
// object identifiers, journal) and its profile file, all host paths. The
// process that owns the device passes primary TRUE; the device's programs
// open it from the environment the emulator gives them, with read-only
// registry and identifiers that are not kept.
DEVICE_CONTROL_API BOOL WINAPI DeviceOpen(LPCWSTR root, LPCWSTR state, LPCWSTR profile, BOOL primary);
// Saves what is kept across restarts.
DEVICE_CONTROL_API void WINAPI DeviceFlush(void);
// Appends one line (see Journal.h) to the device's journal.
DEVICE_CONTROL_API BOOL WINAPI DeviceJournal(const char* line, DWORD size);
// Makes a device folder and everything below it unreadable (or readable again).
DEVICE_CONTROL_API BOOL WINAPI DeviceSetUnreadable(LPCWSTR devicePath, BOOL unreadable);
// The next message box answers with this button instead of its default.
DEVICE_CONTROL_API void WINAPI DeviceQueueMessageBoxAnswer(int answer);
// True for the windows of device programs (top-level or inside one).
DEVICE_CONTROL_API BOOL WINAPI DeviceIsDeviceWindow(HWND window);
// The host path of a device path, or FALSE with the device's error.
DEVICE_CONTROL_API BOOL WINAPI DeviceHostPath(LPCWSTR devicePath, LPWSTR hostPath, DWORD capacity);
// Time spent so far checking that device paths stay inside the root, and
// how many checks there were.
DEVICE_CONTROL_API void WINAPI DeviceRootCheckTime(ULONGLONG* nanoseconds, ULONGLONG* checks);
