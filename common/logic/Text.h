#pragma once
// Small text operations on ANSI strings.
#include <cstddef>
#include <string>
#include <string_view>

namespace vorlan {

// Replaces every non-overlapping occurrence of from, left to right; text
// brought in by to is not searched again. An empty from changes nothing.
// Returns the number of replacements.
size_t ReplaceAll(std::string& text, std::string_view from, std::string_view to);

// Equality with ASCII letters compared without regard to case; other bytes
// (and so every multi-byte character) must match exactly.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace vorlan
