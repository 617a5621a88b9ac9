#pragma once
// Where Zephrin keeps its files on the device: below the first component of
// the project's "InstallDir", in "\dravenhall\Vorlan\".
#include <windows.h>

#include <string>
#include <string_view>

namespace vorlan::zephrin {

// The top folder an "InstallDir" value gives: the value up to the first
// backslash found from its second character on ("\Program Files\X" gives
// "\Program Files"); empty stays empty.
std::wstring TopFolder(std::wstring_view installDir);

// top + "\dravenhall\Vorlan\" + name into path (MAX_PATH characters);
// false, with path empty, when it does not fit.
bool ComposeVorlanPath(std::wstring_view top, const wchar_t* name, wchar_t (&path)[MAX_PATH]);

// The device's "InstallDir" read whole, or empty when it cannot be read.
std::wstring ReadInstallDir();

// The data file and the state file, built anew on each use; false when the
// path does not fit (nothing is to be opened then).
bool DataFilePath(wchar_t (&path)[MAX_PATH]);
bool StateFilePath(wchar_t (&path)[MAX_PATH]);

}  // namespace vorlan::zephrin
