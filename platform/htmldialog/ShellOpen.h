#pragma once
// Every link a page opens goes through here. An automated run sets
// VORLAN_SHELL_JOURNAL to a file: the address is appended to it as a line
// instead of being opened, so no browser starts under a test.
#include <windows.h>

#include <string>

namespace vorlan {

// True when the address was opened (or journalled).
bool ShellOpenLink(HWND owner, const std::string& address);

}  // namespace vorlan
