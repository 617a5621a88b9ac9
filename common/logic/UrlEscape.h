#pragma once
// Percent escapes in URL text.
#include <string>
#include <string_view>

namespace vorlan {

// Decodes, in one pass from left to right, every escape "%" followed by two
// hexadecimal digits (either case) of a character from 0x20 to 0xFE. Each
// escape is decoded once: "%2541" gives "%41", so a file named "100%41.txt"
// keeps its name. Other percent signs stay as they are.
void UnescapeUrl(std::string& text);

// The text escaped for use inside a URL path: every byte other than the
// letters A-Z and a-z, the digits and "-", ".", "_" and "~" becomes "%"
// and two upper-case hexadecimal digits. Nothing is dropped: "#", "?", "%"
// and "\" are escaped like everything else.
std::string EscapeForUrl(std::string_view text);

}  // namespace vorlan
