#pragma once
// One line of a journal that programs write for tests and people to read:
// fields separated by tabs, with backslash, tab, CR and LF inside a field
// written as \\, \t, \r and \n, so that any text fits on one line.
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

// The line without its line break.
std::string EncodeJournalLine(const std::vector<std::string>& fields);
std::vector<std::string> DecodeJournalLine(std::string_view line);

}  // namespace vorlan
