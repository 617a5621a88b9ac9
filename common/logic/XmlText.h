#pragma once
// What text an XML 1.0 document can hold.
#include "Utf16.h"

namespace vorlan {

// True when every character is one XML 1.0 allows: tab, line feed,
// carriage return, U+0020 to U+D7FF, U+E000 to U+FFFD, and characters
// beyond U+FFFF as whole surrogate pairs. A table saved with anything else
// (U+0001, ESC, a lone surrogate) could never be read again.
bool IsXmlText(String16View text);

}  // namespace vorlan
