#pragma once
// Registry values named by one path text, "ROOT\key path\value name" (see
// RegistryPath.h): readers, writers and removal. An unusable path (fewer
// than two backslashes, or an unknown root) gives -1; otherwise the result
// is the registry's own: ERROR_FILE_NOT_FOUND for a missing key or value,
// ERROR_MORE_DATA for a value that does not fit the buffer,
// ERROR_INVALID_DATATYPE for a value of the wrong type.
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlan {

// The predefined key, key path and value name of a path; FALSE, leaving the
// outputs alone, when the path does not split.
BOOL SplitRegistryPath(std::string_view path, HKEY* root, std::string* subKey, std::string* valueName);

// The value's raw data, at most *size bytes, and its type. When the key
// cannot be opened: data[0] = 0, *size = 0, *type = REG_SZ and the open's
// error.
LONG RegQueryValueByPath(std::string_view path, BYTE* data, DWORD* type, DWORD* size);

// A REG_DWORD value. *value is changed only on success, so callers preset
// their defaults.
LONG RegReadDword(std::string_view path, DWORD* value);

// Most bytes RegReadString(path, std::string&) reads, with the terminator.
inline constexpr size_t kRegStringReadSize = 1000;

// A REG_SZ value, or a REG_EXPAND_SZ value with its environment variables
// expanded, into the caller's buffer of bufferSize bytes, always terminated.
// A text that does not fit with its terminator is ERROR_MORE_DATA. The
// buffer holds "" after every failure.
LONG RegReadString(std::string_view path, char* buffer, size_t bufferSize);
// The same into a string, at most kRegStringReadSize bytes with terminator.
LONG RegReadString(std::string_view path, std::string& text);

// Creates the key when needed (class "String", KEY_ALL_ACCESS), sets the
// value and, when flush, flushes the key; the set's result.
LONG RegSetValueByPath(std::string_view path, DWORD type, const BYTE* data, DWORD size, BOOL flush);
// REG_SZ of the text and its terminator.
LONG RegWriteString(std::string_view path, const char* text);
LONG RegWriteDword(std::string_view path, DWORD value);
// The error of the key's opening (KEY_ALL_ACCESS) or of the deletion.
LONG DeleteRegValue(std::string_view path);

}  // namespace vorlan
