#include "FilterRows.h"

#include "Text.h"

namespace vorlan::filesync {
namespace {

std::vector<std::string> SplitAt(std::string_view text, std::string_view separators, bool trim) {
    std::vector<std::string> rows;
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find_first_of(separators, from);
        if (end == std::string_view::npos) end = text.size();
        std::string row = trim ? TrimPattern(text.substr(from, end - from)) : std::string(text.substr(from, end - from));
        if (!row.empty()) rows.push_back(std::move(row));
        from = end + 1;
    }
    return rows;
}

std::string Join(const std::vector<std::string>& rows, char separator) {
    std::string text;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) text += separator;
        text += rows[i];
    }
    return text;
}

}  // namespace

std::vector<std::string> SplitFilterList(std::string_view list) { return SplitAt(list, ":", false); }

std::string JoinFilterRows(const std::vector<std::string>& rows) { return Join(rows, ':'); }

std::vector<std::string> SplitDroppedText(std::string_view text) { return SplitAt(text, "\r\n", true); }

std::string JoinDraggedRows(const std::vector<std::string>& rows) { return Join(rows, '\n'); }

std::string TrimPattern(std::string_view pattern) {
    const size_t first = pattern.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const size_t last = pattern.find_last_not_of(" \t");
    return std::string(pattern.substr(first, last - first + 1));
}

bool HoldsFilterSeparator(std::string_view pattern) { return pattern.find_first_of(":|") != std::string_view::npos; }

PatternCheck CheckNewPattern(const std::vector<std::string>& rows, std::string_view trimmed) {
    if (trimmed.empty()) return PatternCheck::kBlank;
    if (HoldsFilterSeparator(trimmed)) return PatternCheck::kSeparator;
    for (const std::string& row : rows)
        if (EqualsNoCase(row, trimmed)) return PatternCheck::kDuplicate;
    return PatternCheck::kAccepted;
}

}  // namespace vorlan::filesync
