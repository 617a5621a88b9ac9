#pragma once
// The progress line of one item ("Package Main: Part 3 of 10"). The
// template comes from the event message file, which is outside the
// program's control, so it is never handed to printf: its first string
// conversion (%S, %s, %ls) takes the name and its integer conversions (%d,
// %i, %u) take the index and then the count; "%%" is a percent sign and any
// other "%" stays as written. Line breaks are dropped.
#include <string>

namespace vorlan {

inline constexpr char kDefaultProgressTemplate[] = "Package %S: Part %d of %d";

std::string FormatProgressLine(const std::string& pattern, const std::string& name, int index,
                               int count);

}  // namespace vorlan
