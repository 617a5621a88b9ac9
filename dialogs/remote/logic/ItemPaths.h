#pragma once
// Device paths as the remote browsers build them: the file list's current
// folder always ends with "\"; a folder tree item's path joins the texts
// from the root down.
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

// The folder above a folder path that ends with "\", with its own "\":
// "\a\" for "\a\b\"; "\" stays "\".
std::string ParentFolder(std::string_view folder);

// folder + name + "\".
std::string ChildFolder(std::string_view folder, std::string_view name);

// The tree item's path: the root alone for the root item, else the root and
// the names below it joined by single backslashes ("\" and {"Windows",
// "Fonts"} give "\Windows\Fonts"; "\Data" and {"A"} give "\Data\A").
std::string ItemPath(std::string_view root, const std::vector<std::string>& names);

// The listing pattern of a folder's entries: the folder, one "\", "*.*".
std::string FolderPattern(std::string_view folder);

// Where the file browser starts for an initial path the device knows with
// attributes (INVALID_FILE_ATTRIBUTES, 0xFFFFFFFF, when it does not): a
// folder with its "\" added; a file's own folder, with the file to select;
// an unknown path, the root.
struct BrowseStart {
    std::string folder = "\\";
    std::string selectName;
};
BrowseStart StartOfBrowse(std::string_view path, unsigned long attributes);

// A name the new-folder dialog may create: not empty, no "\" or "/".
bool IsNewFolderName(std::string_view name);

}  // namespace vorlan
