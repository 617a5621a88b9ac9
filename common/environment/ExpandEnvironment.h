#pragma once
// Environment variables written between percent signs in ANSI text.
#include <cstddef>
#include <string>
#include <string_view>

namespace vorlan {

// The text with every "%NAME%" of a defined variable replaced by its value
// (others stay as written). False, with out empty, when the result and its
// terminator would not fit limit characters: a cut text would name
// something else.
bool ExpandEnvironment(std::string_view text, std::string& out, size_t limit = 1024);

}  // namespace vorlan
