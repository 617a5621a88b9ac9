#pragma once
// Guards for destructive file operations: a path that names a root, or
// nothing at all, must never reach a removal, because removing it would
// take everything below.
#include <string_view>

#include "Utf16.h"

namespace vorlan {

// True for an empty text and for any path that names a root or the current
// folder rather than an item below one: "\", "\\", "X:", "X:\",
// "\\server\share", ".", and the same reached through "." and ".." steps
// ("\Windows\.." is the root). Forward slashes count as backslashes and
// "\\?\" prefixes are looked through.
bool IsRootOrEmptyPath(std::string_view path);
bool IsRootOrEmptyPath(String16View path);

}  // namespace vorlan
