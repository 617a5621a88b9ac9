#include "ShortcutItem.h"

namespace vorlan::shortcutsync {

std::string ShortcutPath(std::string_view destination, std::string_view displayName) {
    std::string path(destination);
    if (path.empty() || path.back() != '\\') path += '\\';
    path += displayName;
    return path + ".lnk";
}

std::string QuotedTarget(std::string_view target) { return "\"" + std::string(target) + "\""; }

}  // namespace vorlan::shortcutsync
