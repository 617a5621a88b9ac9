#pragma once
// The desktop's remote API to a connected Windows CE device, as Rapi.dll
// exports it. Text is UTF-16 throughout. Handles, registry keys and object
// identifiers are 32-bit values on the device; on this side they are held
// in the pointer-sized Windows types.
//
// Ownership: blocks that the device returns (CeRapiInvoke output,
// CeFindAllFiles arrays) are freed with CeRapiFreeBuffer; the input block
// of CeRapiInvoke is allocated with LocalAlloc and always freed by
// CeRapiInvoke, also when the call fails.
#include <windows.h>

#include "CeTypes.h"

#ifdef VORLAN_RAPI_BUILD
#define RAPI_API extern "C" __declspec(dllexport)
#else
#define RAPI_API extern "C" __declspec(dllimport)
#endif

// Connection record of CeRapiInitEx: heRapiInit is signalled once the
// device answers, hrRapiInit then holds the result.
struct RAPIINIT {
    DWORD cbSize;
    HANDLE heRapiInit;
    HRESULT hrRapiInit;
};

// One entry of a device folder listing (560 bytes).
struct CE_FIND_DATA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    WCHAR cFileName[MAX_PATH];
};
typedef CE_FIND_DATA* LPCE_FIND_DATA;
typedef CE_FIND_DATA** LPLPCE_FIND_DATA;
static_assert(sizeof(CE_FIND_DATA) == 560, "device find record layout");

// CeFindAllFiles flags: which fields to fill and which entries to list.
#define FAF_ATTRIBUTES 0x00000001
#define FAF_CREATION_TIME 0x00000002
#define FAF_LASTACCESS_TIME 0x00000004
#define FAF_LASTWRITE_TIME 0x00000008
#define FAF_SIZE_HIGH 0x00000010
#define FAF_SIZE_LOW 0x00000020
#define FAF_OID 0x00000040
#define FAF_NAME 0x00000080
#define FAF_FLAG_COUNT 8
#define FAF_ATTRIB_CHILDREN 0x00001000
#define FAF_ATTRIB_NO_HIDDEN 0x00002000
#define FAF_FOLDERS_ONLY 0x00004000
#define FAF_NO_HIDDEN_SYS_ROMMODULES 0x00008000

// The device's version record.
struct CEOSVERSIONINFO {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    WCHAR szCSDVersion[128];
};
typedef CEOSVERSIONINFO* LPCEOSVERSIONINFO;

// Stream mode of CeRapiInvoke is not offered; the type is only named.
struct IRAPIStream;

// Session.
RAPI_API HRESULT WINAPI CeRapiInit(void);
RAPI_API HRESULT WINAPI CeRapiInitEx(RAPIINIT* pRapiInit);
RAPI_API HRESULT WINAPI CeRapiUninit(void);
RAPI_API HRESULT WINAPI CeRapiGetError(void);
RAPI_API HRESULT WINAPI CeRapiFreeBuffer(LPVOID Buffer);
RAPI_API HRESULT WINAPI CeRapiInvoke(LPCWSTR pDllPath, LPCWSTR pFunctionName, DWORD cbInput, BYTE* pInput,
                                     DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream** ppIRAPIStream,
                                     DWORD dwReserved);
RAPI_API DWORD WINAPI CeGetLastError(void);

// Files and folders.
RAPI_API HANDLE WINAPI CeCreateFile(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                                    LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                                    DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
RAPI_API BOOL WINAPI CeReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                                LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped);
RAPI_API BOOL WINAPI CeWriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                                 LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped);
RAPI_API BOOL WINAPI CeCloseHandle(HANDLE hObject);
RAPI_API DWORD WINAPI CeGetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh);
RAPI_API DWORD WINAPI CeSetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                                       DWORD dwMoveMethod);
RAPI_API BOOL WINAPI CeSetEndOfFile(HANDLE hFile);
RAPI_API BOOL WINAPI CeGetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                                   LPFILETIME lpLastWriteTime);
RAPI_API BOOL WINAPI CeSetFileTime(HANDLE hFile, const FILETIME* lpCreationTime, const FILETIME* lpLastAccessTime,
                                   const FILETIME* lpLastWriteTime);
RAPI_API DWORD WINAPI CeGetFileAttributes(LPCWSTR lpFileName);
RAPI_API BOOL WINAPI CeSetFileAttributes(LPCWSTR lpFileName, DWORD dwFileAttributes);
RAPI_API BOOL WINAPI CeCreateDirectory(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
RAPI_API BOOL WINAPI CeRemoveDirectory(LPCWSTR lpPathName);
RAPI_API BOOL WINAPI CeDeleteFile(LPCWSTR lpFileName);
RAPI_API BOOL WINAPI CeMoveFile(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName);
RAPI_API BOOL WINAPI CeCopyFile(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists);
RAPI_API HANDLE WINAPI CeFindFirstFile(LPCWSTR lpFileName, LPCE_FIND_DATA lpFindFileData);
RAPI_API BOOL WINAPI CeFindNextFile(HANDLE hFindFile, LPCE_FIND_DATA lpFindFileData);
RAPI_API BOOL WINAPI CeFindClose(HANDLE hFindFile);
RAPI_API BOOL WINAPI CeFindAllFiles(LPCWSTR szPath, DWORD dwFlags, LPDWORD lpdwFoundCount,
                                    LPLPCE_FIND_DATA ppFindDataArray);
RAPI_API BOOL WINAPI CeOidGetInfo(CEOID oid, CEOIDINFO* poidInfo);

// Registry of the device.
RAPI_API LONG WINAPI CeRegOpenKeyEx(HKEY hKey, LPCWSTR lpszSubKey, DWORD dwReserved, REGSAM samDesired,
                                    PHKEY phkResult);
RAPI_API LONG WINAPI CeRegCreateKeyEx(HKEY hKey, LPCWSTR lpszSubKey, DWORD dwReserved, LPWSTR lpszClass,
                                      DWORD fdwOptions, REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes,
                                      PHKEY phkResult, LPDWORD lpdwDisposition);
RAPI_API LONG WINAPI CeRegCloseKey(HKEY hKey);
RAPI_API LONG WINAPI CeRegDeleteKey(HKEY hKey, LPCWSTR lpszSubKey);
RAPI_API LONG WINAPI CeRegDeleteValue(HKEY hKey, LPCWSTR lpszValueName);
RAPI_API LONG WINAPI CeRegQueryValueEx(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                       LPBYTE lpData, LPDWORD lpcbData);
RAPI_API LONG WINAPI CeRegSetValueEx(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                                     const BYTE* lpData, DWORD cbData);
RAPI_API LONG WINAPI CeRegEnumKeyEx(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcbName, LPDWORD lpReserved,
                                    LPWSTR lpClass, LPDWORD lpcbClass, PFILETIME lpftLastWriteTime);
RAPI_API LONG WINAPI CeRegEnumValue(HKEY hKey, DWORD dwIndex, LPWSTR lpszValueName, LPDWORD lpcbValueName,
                                    LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
RAPI_API LONG WINAPI CeRegQueryInfoKey(HKEY hKey, LPWSTR lpClass, LPDWORD lpcbClass, LPDWORD lpReserved,
                                       LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                                       LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                                       LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime);

// Facts about the device.
RAPI_API void WINAPI CeGetSystemInfo(LPSYSTEM_INFO lpSystemInfo);
RAPI_API BOOL WINAPI CeGetVersionEx(LPCEOSVERSIONINFO lpVersionInformation);
RAPI_API void WINAPI CeGlobalMemoryStatus(LPMEMORYSTATUS lpmst);
RAPI_API BOOL WINAPI CeGetStoreInformation(LPSTORE_INFORMATION lpsi);
// The length of the folder's path, 0 when the device has no such folder.
RAPI_API DWORD WINAPI CeGetSpecialFolderPath(int nFolder, DWORD nBufferLength, LPWSTR lpBuffer);
RAPI_API DWORD WINAPI CeGetTempPath(DWORD nBufferLength, LPWSTR lpBuffer);
RAPI_API int WINAPI CeGetSystemMetrics(int nIndex);

// Programs, windows and shortcuts on the device.
RAPI_API BOOL WINAPI CeCreateProcess(LPCWSTR lpApplicationName, LPCWSTR lpCommandLine,
                                     LPSECURITY_ATTRIBUTES lpProcessAttributes,
                                     LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles,
                                     DWORD dwCreationFlags, LPVOID lpEnvironment, LPWSTR lpCurrentDirectory,
                                     LPSTARTUPINFOW lpStartupInfo, LPPROCESS_INFORMATION lpProcessInformation);
RAPI_API HWND WINAPI CeGetWindow(HWND hWnd, UINT uCmd);
RAPI_API LONG WINAPI CeGetWindowLong(HWND hWnd, int nIndex);
RAPI_API int WINAPI CeGetWindowText(HWND hWnd, LPWSTR lpString, int nMaxCount);
RAPI_API int WINAPI CeGetClassName(HWND hWnd, LPWSTR lpClassName, int nMaxCount);
RAPI_API DWORD WINAPI CeSHCreateShortcut(LPWSTR lpszShortcut, LPWSTR lpszTarget);
