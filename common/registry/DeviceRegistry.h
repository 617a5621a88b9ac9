#pragma once
// The connected device's registry by the same path texts (see
// RegistryByPath.h), over the remote API. Names are ANSI here and UTF-16 on
// the device; string data stays UTF-16 as the device stores it. Needs an
// open remote API session.
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlan {

// CeRegOpenKeyEx and CeRegQueryValueEx with names in the ANSI code page.
LONG CeRegOpenKeyExA(HKEY root, const char* subKey, DWORD reserved, REGSAM access, PHKEY result);
LONG CeRegQueryValueExA(HKEY key, const char* valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);

// As RegQueryValueByPath, on the device (the key opened with access
// 0xF003F).
LONG CeRegQueryValueByPath(std::string_view path, BYTE* data, DWORD* type, DWORD* size);

// A REG_SZ or REG_EXPAND_SZ value (not expanded: the device's variables are
// not the desktop's) into the caller's buffer of bufferChars UTF-16
// characters, always terminated; ERROR_MORE_DATA when it does not fit with
// its terminator, ERROR_INVALID_DATATYPE for another type, "" after any
// failure.
LONG CeRegReadString(std::string_view path, wchar_t* buffer, size_t bufferChars);
// The same into a string, at most 1000 bytes with the terminator.
LONG CeRegReadString(std::string_view path, std::wstring& text);

}  // namespace vorlan
