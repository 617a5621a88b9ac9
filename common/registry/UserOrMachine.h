#pragma once
// Settings named by a path without its root, such as
// "\SOFTWARE\Dravenhall\Vorlan\ErrorLevel": read from HKEY_CURRENT_USER and,
// when that read fails for any reason (key or value missing, wrong type,
// too long), from HKEY_LOCAL_MACHINE, whose result is then returned.
#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlan {

// *value changes only when a read succeeds, so callers preset the default.
LONG ReadUserOrMachineDword(std::string_view settingsPath, DWORD* value);
// As RegReadString: terminated, "" after a failure.
LONG ReadUserOrMachineString(std::string_view settingsPath, char* buffer, size_t bufferSize);
LONG ReadUserOrMachineString(std::string_view settingsPath, std::string& text);

}  // namespace vorlan
