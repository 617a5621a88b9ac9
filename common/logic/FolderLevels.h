#pragma once
// The folders to create, outermost first, so that every level of a folder
// path exists.
#include <vector>

#include "Utf16.h"

namespace vorlan {

// On the device every path runs from the root: "\a\b" gives "\a", "\a\b".
// On the desktop a drive gives its root first ("C:\a" gives "C:\", "C:\a"),
// a network path its share ("\\srv\share\a" gives "\\srv\share\",
// "\\srv\share\a"), a path from the root keeps its backslash, and a relative
// path starts with its first element ("a\b" gives "a\", "a\b"). Empty steps
// are dropped. No element (or a network path without a share) gives none.
std::vector<String16> FolderLevels(String16View path, bool device);

}  // namespace vorlan
