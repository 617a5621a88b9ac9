#pragma once
// The shortcut plug-in's texts without platform calls: where a shortcut
// item's link goes and what it points at.
#include <string>
#include <string_view>

namespace vorlan::shortcutsync {

// destination, a backslash unless it ends with one, the name, ".lnk".
std::string ShortcutPath(std::string_view destination, std::string_view displayName);
// The target in double quotes, so a path with blanks stays one.
std::string QuotedTarget(std::string_view target);

}  // namespace vorlan::shortcutsync
