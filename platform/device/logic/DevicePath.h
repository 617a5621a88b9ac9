#pragma once
// Resolution of device paths ("\My Documents\a.txt") to paths below the
// device's root folder. Only the text is looked at here; links are checked
// where the files are.
#include <cstdint>
#include <string>
#include <string_view>

namespace vorlan::device {

struct ResolvedPath {
    uint32_t error = 0;        // a Win32 error code, 0 when the path is usable
    std::u16string relative;   // components joined by "\", empty for the root
    // The device form: "\" followed by the relative path.
    std::u16string DevicePath() const { return u"\\" + relative; }
};

enum class PathUse {
    Name,     // names one file or folder
    Pattern,  // a search pattern: the last component may hold "*" and "?"
};

// Separators are "\" and "/"; "." is dropped and ".." goes one level up but
// never above the root. Drive letters, streams and device names (anything
// with ":"), UNC paths, host device names (CON, NUL, COM1, ...), names ending
// in "." or " " and characters no device file name may hold are refused.
ResolvedPath ResolveDevicePath(std::u16string_view path, PathUse use = PathUse::Name);

// Case-insensitive (ASCII and Latin-1) key of a device path, for tables.
std::u16string PathKey(std::u16string_view path);

}  // namespace vorlan::device
