#pragma once
// The implementations behind coredll.dll's exports that other parts of the
// library call too. Each Device_X is exported as X (see coredll.def).
#include <windows.h>

#include "CeTypes.h"

// The attributes a device reports for the host's.
DWORD DeviceAttributes(DWORD hostAttributes);

extern "C" HANDLE WINAPI Device_CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                                            DWORD disposition, DWORD flags, HANDLE templateFile);
extern "C" DWORD WINAPI Device_GetFileAttributesW(LPCWSTR name);
extern "C" BOOL WINAPI Device_CreateDirectoryW(LPCWSTR name, LPSECURITY_ATTRIBUTES sa);
extern "C" LONG WINAPI Device_RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR className,
                                              DWORD options, REGSAM access, LPSECURITY_ATTRIBUTES sa, PHKEY result,
                                              LPDWORD disposition);
extern "C" LONG WINAPI Device_RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type,
                                             const BYTE* data, DWORD size);
extern "C" LONG WINAPI Device_RegCloseKey(HKEY key);
