#pragma once
// CRC-32 of files and folder trees read through the system's wide file
// functions (see FolderCrc.h for the folder value and QuickCrcRecord.h for
// quick mode). The same code serves the device library, linked against the
// device's system library, and the desktop.
#include <windows.h>

namespace vorlan::devicefs {

// The CRC-32 of a file's content, read in blocks (any size), or its quick CRC
// (size and coarse last-write time). *crc is 0 until a value is formed; an
// empty file gives S_OK and 0 in either mode. Failures: E_INVALIDARG for a
// null argument; a file that cannot be opened or read gives
// STG_E_FILENOTFOUND (errors 2, 3), STG_E_SHAREVIOLATION (4, 5, 32, 33) or
// E_HANDLE (any other); E_FAIL when quick mode cannot read the file's
// information.
HRESULT DeviceCalcFileCrc32(const wchar_t* path, DWORD* crc, BOOL quick);

// Combines the folder tree's CRC-32 into *crc, which the caller sets to 0
// first; a folder with no entries sets *crc to the CRC of its path text.
// Paths are folder + "\" + name, so pass the folder without a trailing
// backslash. The first failing entry stops the walk: its file's error, or
// E_FAIL when a folder cannot be listed.
HRESULT DeviceCalcFolderCrc32(const wchar_t* path, DWORD* crc, BOOL quick);

}  // namespace vorlan::devicefs
