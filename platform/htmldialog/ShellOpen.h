#pragma once
// Everything a program hands to the shell to open goes through here. An
// automated run sets VORLAN_SHELL_JOURNAL to a file: each request is
// appended to it as a line (the file or address, then a tab and the working
// folder when one is given) instead of being opened, so no browser or
// viewer starts under a test.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace vorlan {

// ShellExecute of file with the verb (nullptr: the default one), no
// parameters, folder as the working folder ("" for none) and show: the
// shell's result, above 32 when opened. Journalled, the answer is the
// shell's for a file that is not there (SE_ERR_FNF: file is not an address
// and is not found, relative to folder when it is relative), else 33; a
// journal that cannot be written answers SE_ERR_ACCESSDENIED.
INT_PTR ShellOpen(HWND owner, const char* verb, const std::string& file, const std::string& folder, int show);

// A page's link opened with the shell's default handler; true when it was
// opened (or journalled).
bool ShellOpenLink(HWND owner, const std::string& address);

}  // namespace vorlan
