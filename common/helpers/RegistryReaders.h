#pragma once
// The registry readers the dialog helpers and the error reporter add to the
// common ones: an expandable string read as it is stored, and the desktop
// choosers' TranslatePath setting.
#include <windows.h>

#include <string>

namespace vorlan {

// Longest value RegReadExpandString reads, in bytes with the terminator.
inline constexpr DWORD kExpandStringReadSize = 1000;

// A REG_EXPAND_SZ (or REG_SZ) value, not expanded. ERROR_MORE_DATA when it
// does not fit kExpandStringReadSize, ERROR_INVALID_DATATYPE for another
// type; out is empty on every failure.
LONG RegReadExpandString(HKEY root, const std::string& subKey, const std::string& valueName, std::string& out);

// The DWORD TranslatePath under \SOFTWARE\Dravenhall\Common\CommonDlgs\ of
// HKEY_CURRENT_USER, else of HKEY_LOCAL_MACHINE; 1 when neither holds one.
DWORD ReadTranslatePathSetting();

}  // namespace vorlan
