#pragma once
// The connected device's real folders for the symbolic names
// ("%CE_WINDIR%", "%CE_PROGRAMFILES%" and the others, CeFolderNames.h) that
// item paths hold. The device is asked anew on every call; nothing is
// cached. Needs an open device session.
#include <windows.h>

namespace vorlan {

// The top folder of the device installation folder (the device registry's
// HKEY_LOCAL_MACHINE\SOFTWARE\Apps\Dravenhall Vorlan\InstallDir): for
// "\Program Files\Dravenhall Vorlan", "\Program Files". buffer holds *size
// bytes; on success *size is set to the bytes of the text with its
// terminator. -1 for a null buffer, a null size or a size of 0; the
// registry's error when the value cannot be read (ERROR_MORE_DATA when it
// does not fit, ERROR_INVALID_DATATYPE when it is no string), with buffer
// ""; else 0.
LONG GetDeviceInstallDir(wchar_t* buffer, DWORD* size);

// Copies src to dst (size bytes) with every symbolic folder name replaced
// by the device's folder, names in any letter case. Returns the length of
// the translated text plus one; dst receives it only when it fits with its
// terminator and holds "" otherwise (the result then tells the size
// needed). 0, with dst "" where there is one, for a missing argument and
// when a named folder cannot be looked up on the device or has no form in
// the ANSI code page: a path with a folder missing would name another.
int ExpandCeFolderVariables(const char* src, char* dst, DWORD size);

}  // namespace vorlan
