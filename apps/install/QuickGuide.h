#pragma once
// Opening the quick start guide, the web archive the installation puts in
// its folder, in the desktop's default viewer.
#include <windows.h>

#include <string>

namespace vorlan::install {

// Where the guide is looked for when the installation folder can't be read.
inline constexpr char kDefaultInstallFolder[] = "c:\\program files\\Dravenhall\\Vorlan";
inline constexpr char kGuideFile[] = "Vorlan Quick Start Guide.mht";

// The installation folder from what reading InstallDir gave (the result,
// the value's type, the bytes read into a buffer of capacity bytes): a
// string that fits with its terminator, as written (not expanded); else,
// for an absent, empty, non-string or too long value, the default folder,
// never a cut path.
std::string InstallFolderFrom(LONG result, DWORD type, const char* data, DWORD size, DWORD capacity);

// The installation folder as HKEY_LOCAL_MACHINE\SOFTWARE\Dravenhall\Vorlan
// holds it, read with read access only.
std::string ReadInstallFolder();

}  // namespace vorlan::install

// Opens the guide with the installation folder as the working folder: the
// shell's result, above 32 when it opened.
extern "C" int __cdecl LaunchQuickGuide();
