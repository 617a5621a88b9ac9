#pragma once
// Symbolic device folders: names such as "%CE_PROGRAMFILES%" that item
// paths use in place of folders whose real names differ between devices and
// languages, and their translation into one device's real folders.
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace vorlan {

struct CeFolderName {
    std::string_view name;  // with its percent signs, in upper case
    int code;               // the shell folder code the device is asked for
    bool topFolderOnly;     // only the folder's first level is meant
};

// Code of the device installation folder, which the device's registry
// names rather than its shell.
inline constexpr int kCeInstallFolderCode = 1000;

// The names in the order they are tried. The first fifteen are plain shell
// folders; "%CE_WINDIR%" is the top folder of the startup folder and
// "%CE_PROGRAMFILES%" the top folder of the installation folder.
std::span<const CeFolderName> CeFolderNames();

// The text before the first "\" at or after the second character ("\Windows"
// of "\Windows\StartUp"), or the whole text when there is none.
std::string_view TopFolder(std::string_view folder);

// The real folder of a code on the device, in the ANSI code page. False when
// the device has none.
using CeFolderLookup = std::function<bool(int code, std::string& folder)>;

// out = text with every symbolic name it holds, in any letter case, replaced
// by the device's folder; names are tried in table order and the device is
// asked only for the names the text holds. A name whose folder cannot be
// looked up, or looks up as empty, makes the whole translation fail (false,
// out empty): acting on a path with a folder missing would act on another
// path. Text without names is copied unchanged.
bool ExpandCeFolderNames(std::string_view text, const CeFolderLookup& lookup, std::string& out);

}  // namespace vorlan
