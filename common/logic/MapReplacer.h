#pragma once
// Replacement of variables written between percent signs by the values of a
// map, such as the device's system variables in a table address.
#include <string>
#include <string_view>

#include "StringMap.h"

namespace vorlan {

class CMapReplacer {
public:
    // The map is the caller's and must outlive the replacer.
    explicit CMapReplacer(const StringMap* variables) : variables_(variables) {}

    // For every pair, in map order, every "%name%" in the text replaced by
    // the value (names match exactly, letter case included); text brought in
    // by a value is searched only by later pairs, and names not in the map
    // stay as written. An empty name would stand for "%%" and remove every
    // "%%", so such a pair is passed over. Environment variables are left
    // alone (ExpandEnvironment expands them where wanted).
    std::string Expand(std::string_view text) const;

private:
    const StringMap* variables_;
};

}  // namespace vorlan
