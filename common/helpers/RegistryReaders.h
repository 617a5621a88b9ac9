#pragma once
// The registry readers the dialog helpers and the error reporter add to the
// common ones (RegistryByPath.h): an expandable string read as it is
// stored, and the desktop choosers' TranslatePath setting.
#include <windows.h>

#include <string>
#include <string_view>

namespace vorlan {

// Longest value RegReadExpandString reads, in bytes with the terminator.
inline constexpr DWORD kExpandStringReadSize = 1000;

// A REG_EXPAND_SZ (or REG_SZ) value named by a registry path text, its
// variables not expanded. ERROR_MORE_DATA when it does not fit
// kExpandStringReadSize with its terminator, ERROR_INVALID_DATATYPE for
// another type, -1 for an unusable path; text is empty on every failure.
LONG RegReadExpandString(std::string_view path, std::string& text);

// The DWORD TranslatePath under \SOFTWARE\Dravenhall\Common\CommonDlgs\ of
// HKEY_CURRENT_USER, else of HKEY_LOCAL_MACHINE; 1 when neither holds one.
DWORD ReadTranslatePathSetting();

}  // namespace vorlan
