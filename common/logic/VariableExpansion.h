#pragma once
// Expansion of variables written between percent signs, as InfoNode does it.
#include <string>

#include "StringMap.h"

namespace vorlan {

struct Expansion {
    std::string text;
    // Number of variables found in the text whose value is not empty.
    int nonEmptyFound = 0;
};

// One pass over the pairs in map order: every "%key%" in the text is
// replaced by its value (an empty value removes it), so text a value brings
// in is expanded only by later pairs, and unknown variables stay as written.
// Then "%newln%" becomes a line feed and "%tab%" a tab, after the keys, so a
// key named "newln" or "tab" wins.
Expansion ExpandVariables(std::string text, const StringMap& values);

}  // namespace vorlan
