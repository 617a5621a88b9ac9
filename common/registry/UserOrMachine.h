#pragma once
// Settings named by a path without its root, such as
// "\SOFTWARE\Dravenhall\Vorlan\ErrorLevel": read from HKEY_CURRENT_USER and,
// when the user has none (key or value missing, or a value of the wrong
// type), from HKEY_LOCAL_MACHINE, whose result is then returned. Any other
// failure of the user's read (a value too long for the buffer, a key that
// cannot be opened) is returned as it is: the user's setting is there, and
// the machine's must not silently take its place.
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
