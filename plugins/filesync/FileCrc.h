#pragma once
// Checksums of the workstation's files and folder trees, and the device
// library's checksum, status and record calls, as the file engine uses
// them. The CRC-32 is the one of Crc32.h on both sides. Paths are ANSI
// text; the device calls need an open device session.
#include <windows.h>

#include "CrcBlocks.h"

namespace vorlan::filesync {

// The CRC-32 of a workstation file's content (quick clear) or its quick
// signature. *crc is 0 until computed; an empty file gives 0 and S_OK.
// E_INVALIDARG for a null argument; STG_E_FILENOTFOUND, STG_E_SHAREVIOLATION
// or E_HANDLE when the file cannot be opened or read.
HRESULT CalcFileCrc32(const char* path, DWORD* crc, BOOL quick);
// Combines a workstation folder tree's value into *crc (start it at 0).
HRESULT CalcFolderCrc32(const char* path, DWORD* crc, BOOL quick);

// Longest paths the device blocks hold (without their terminator). A
// longer path is refused with E_INVALIDARG rather than cut, since a cut
// path names another file.
inline constexpr size_t kDeviceCrcPathChars = devicefs::kCrcRequestPathChars - 1;
inline constexpr size_t kDeviceRecordPathChars = devicefs::kCrcRecordPathChars - 1;

// "CECalcCRC32" / "CECalcFolderCRC32". E_INVALIDARG for a null argument or
// a path too long; E_FAIL with *crc 0 when the call did not reach the
// device or gave no answer; else the device's own result and checksum.
HRESULT CeCalcCrc32OnDevice(const char* path, DWORD* crc, DWORD flag);
HRESULT CeCalcFolderCrc32OnDevice(const char* path, DWORD* crc, DWORD flag);
// "CeUpdateFileCRCRecord": E_POINTER for a null path, E_INVALIDARG for
// one too long; the transport's failure, or E_FAIL for no answer; else the
// device's result.
HRESULT CeUpdateFileCrcRecordOnDevice(const char* path, DWORD crc);
// "CeGetFileSyncStatus" / "CeGetFolderSyncStatus": *status is 5 (unknown)
// unless the device answered. E_POINTER for a null argument; the
// transport's result otherwise (E_FAIL when it gave no answer).
HRESULT CeGetFileSyncStatusOnDevice(const char* path, DWORD* status);
HRESULT CeGetFolderSyncStatusOnDevice(const char* path, DWORD* status);
// "CeRemoveFileCRCRecord": E_POINTER for a null path; the device's result,
// else the transport's failure (E_FAIL for no answer).
HRESULT CeRemoveFileCrcRecordOnDevice(const char* path);

}  // namespace vorlan::filesync
