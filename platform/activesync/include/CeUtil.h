#pragma once
// CeUtil.dll: the settings ActiveSync keeps for its services, reached by a
// service root and a path below it. Programs load the library at run time
// ("CeUtil.Dll") and bind the functions by name; the types below are for
// that.
//
// A handle from CeSvcOpen is closed with CeSvcClose. Results are HRESULTs:
// the registry's error as HRESULT_FROM_WIN32, E_INVALIDARG for a root this
// library does not know or a missing argument.
#include <windows.h>

typedef HKEY HCESVC;

// Service roots.
// Synchronisation services of the connected device's partnership
// (ServiceKeys.h), so "Objects\<type>" holds what is set for an object type
// with that device; HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED) while no device
// is connected.
inline constexpr UINT CESVC_SYNCHRONIZATION = 5;

extern "C" {
// Opens (with fCreate TRUE, creates) the key pszPath below root uSvc.
HRESULT WINAPI CeSvcOpen(UINT uSvc, LPSTR pszPath, BOOL fCreate, HCESVC* phSvc);
HRESULT WINAPI CeSvcClose(HCESVC hSvc);
HRESULT WINAPI CeSvcSetDword(HCESVC hSvc, LPCSTR pszValName, DWORD dwVal);
// The DWORD value; HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when absent,
// HRESULT_FROM_WIN32(ERROR_DATATYPE_MISMATCH) when it is no DWORD.
HRESULT WINAPI CeSvcGetDword(HCESVC hSvc, LPCSTR pszValName, DWORD* pdwVal);
}

typedef HRESULT(WINAPI* CeSvcOpenProc)(UINT, LPSTR, BOOL, HCESVC*);
typedef HRESULT(WINAPI* CeSvcCloseProc)(HCESVC);
typedef HRESULT(WINAPI* CeSvcSetDwordProc)(HCESVC, LPCSTR, DWORD);
typedef HRESULT(WINAPI* CeSvcGetDwordProc)(HCESVC, LPCSTR, DWORD*);

