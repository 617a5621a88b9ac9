#pragma once
// Functions of the device's system library that the desktop's headers do
// not declare. Device code includes <windows.h> for the rest: coredll.dll
// exports those under their usual names, with the device's behaviour, and
// device modules link its import library ahead of the desktop's.
//
// Differences from the desktop worth knowing:
// - paths are device paths ("\Windows\x.dll"); there are no drives;
// - a folder listing holds no "." or ".." entries and a search that finds
//   nothing fails with ERROR_NO_MORE_FILES; the object identifier of an
//   entry is in WIN32_FIND_DATAW::dwReserved0 (the device's dwOID sits at
//   the same offset);
// - MessageBoxW never waits for a user: it answers at once and is recorded;
// - FindWindowW sees only the windows of the device's programs.
#include <windows.h>

#include "CeTypes.h"

#ifdef VORLAN_COREDLL_BUILD
#define COREDLL_API extern "C"
#else
#define COREDLL_API extern "C" __declspec(dllimport)
#endif

// Opens a file for a read-only mapping (the device's only way to map one).
COREDLL_API HANDLE WINAPI CreateFileForMappingW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                                                LPSECURITY_ATTRIBUTES lpSecurityAttributes,
                                                DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
                                                HANDLE hTemplateFile);
// The device's wide-name form of GetProcAddress.
COREDLL_API FARPROC WINAPI GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName);
COREDLL_API BOOL WINAPI CeOidGetInfo(CEOID oid, CEOIDINFO* poidInfo);
COREDLL_API BOOL WINAPI GetStoreInformation(LPSTORE_INFORMATION lpsi);
// lpszPath holds MAX_PATH characters.
COREDLL_API BOOL WINAPI SHGetSpecialFolderPath(HWND hwndOwner, LPWSTR lpszPath, int nFolder, BOOL fCreate);

inline CEOID FindDataOid(const WIN32_FIND_DATAW& data) { return data.dwReserved0; }
