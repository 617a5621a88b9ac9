#include "ItemPaths.h"

namespace vorlan {

namespace {

constexpr unsigned long kNoAttributes = 0xFFFFFFFFul;
constexpr unsigned long kDirectory = 0x10;

std::string_view WithoutTrailingSeparators(std::string_view path) {
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    return path;
}

}  // namespace

std::string ParentFolder(std::string_view folder) {
    std::string_view inner = WithoutTrailingSeparators(folder);
    const size_t last = inner.rfind('\\');
    if (last == std::string_view::npos) return "\\";
    return std::string(inner.substr(0, last + 1));
}

std::string ChildFolder(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += name;
    path += '\\';
    return path;
}

std::string ItemPath(std::string_view root, const std::vector<std::string>& names) {
    if (names.empty()) return std::string(root);
    std::string path(WithoutTrailingSeparators(root));
    for (const std::string& name : names) {
        path += '\\';
        path += name;
    }
    return path;
}

std::string FolderPattern(std::string_view folder) {
    std::string pattern(folder);
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    return pattern + "*.*";
}

BrowseStart StartOfBrowse(std::string_view path, unsigned long attributes) {
    BrowseStart start;
    if (path.empty() || attributes == kNoAttributes) return start;
    if (attributes & kDirectory) {
        start.folder = path;
        if (start.folder.back() != '\\') start.folder += '\\';
        return start;
    }
    const size_t last = path.rfind('\\');
    if (last == std::string_view::npos) {
        start.selectName = path;
        return start;
    }
    start.folder = path.substr(0, last + 1);
    start.selectName = path.substr(last + 1);
    return start;
}

bool IsNewFolderName(std::string_view name) {
    return !name.empty() && name.find_first_of("\\/") == std::string_view::npos;
}

}  // namespace vorlan
