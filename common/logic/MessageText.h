#pragma once
// Placing insertion strings into the texts of event messages.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

// For i = 1 .. count, in that order, every "%i" of text becomes strings[i-1]
// (so "%1" also takes the first two characters of "%10"); what a string
// brings in is searched by the later steps. This is how error descriptions
// are built for the thread's COM error information.
std::string ReplaceInsertsInOrder(std::string text, const std::vector<std::string>& strings);

// A message text as the event viewer shows it: "%1" to "%99" (optionally
// followed by a "!format!" part) take the insertion strings, an insert with
// no string stays as written; "%%", "%n", "%r", "%t", "%b", "%.", "%!" give
// "%", a line break, CR, tab, blank, "." and "!"; "%0" ends the text.
std::string FormatMessageInserts(std::string_view text, const std::vector<std::string>& strings);

// text without the line breaks at its end (message texts end in CR LF).
std::string TrimLineEnds(std::string text);

// The description used when a message text is not available:
// "Error 0xC0020009: first; second".
std::string FallbackDescription(uint32_t eventId, const std::vector<std::string>& strings);

}  // namespace vorlan
