#pragma once
// The page of device facts: the template's system variables, written
// between percent signs, replaced by the device's values, each escaped for
// the page. Pure text work.
#include <string>

#include "StringMap.h"

namespace vorlan::deviceview {

// One pass over the template: every "%NAME%" whose NAME the map holds
// becomes its value, escaped, so a value shows as written and never adds
// markup, and text a value brings in is not searched again; other percent
// signs stay as they are.
std::string FillDevicePage(const std::string& pageTemplate, const StringMap& variables);

}  // namespace vorlan::deviceview
