#pragma once
// UTF-16 text from the device turned into the ANSI code page only when
// every character survives: a path whose characters became "?" would be a
// wildcard naming other files.
#include <string>
#include <string_view>

namespace vorlan {

// False, with out empty, when a character has no form in the ANSI code page
// (or the text holds a broken surrogate pair).
bool ExactAnsiFromWide(std::wstring_view text, std::string& out);

}  // namespace vorlan
