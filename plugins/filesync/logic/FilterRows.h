#pragma once
// The wizard's filter lists as rows: a stored list ("*.txt:*.doc") one
// pattern per row, text dragged between lists, and what a new pattern must
// be. A pattern holding ":" or "|" would read back as other patterns (and
// no file name holds either), so it is never taken.
#include <string>
#include <string_view>
#include <vector>

namespace vorlan::filesync {

// The patterns of a stored list, split at ":"; empty ones go.
std::vector<std::string> SplitFilterList(std::string_view list);
// The rows joined with ":".
std::string JoinFilterRows(const std::vector<std::string>& rows);

// Dropped text split at every line feed and carriage return, each row
// trimmed of blanks and tabs; blank rows go.
std::vector<std::string> SplitDroppedText(std::string_view text);
// Rows dragged out of a list: joined with "\n".
std::string JoinDraggedRows(const std::vector<std::string>& rows);

// pattern without its leading and trailing blanks and tabs.
std::string TrimPattern(std::string_view pattern);
bool HoldsFilterSeparator(std::string_view pattern);

enum class PatternCheck { kAccepted, kBlank, kSeparator, kDuplicate };
// Whether a trimmed pattern may join rows: not blank, no separator, and no
// row equal to it without regard to ASCII case.
PatternCheck CheckNewPattern(const std::vector<std::string>& rows, std::string_view trimmed);

}  // namespace vorlan::filesync
