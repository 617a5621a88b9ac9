#pragma once
// Case-insensitive search and replacement, for names such as the symbolic
// device folders that users write in any letter case. ASCII letters are
// compared without regard to case, every other byte exactly, so positions
// stay those of the original text under any code page.
#include <string>
#include <string_view>

namespace vorlan {

// The first position at or after from where name occurs, or npos. An empty
// name is never found.
size_t FindNoCase(std::string_view text, std::string_view name, size_t from = 0);

// text with every occurrence of name replaced by value. The scan goes on
// after each replacement, so occurrences never overlap and the value is not
// searched again. An empty name changes nothing.
std::string ReplaceNoCase(std::string_view text, std::string_view name, std::string_view value);

}  // namespace vorlan
