#include "Journal.h"

#include "JournalLine.h"

namespace vorlan::device {

std::string JournalEntry::Get(std::string_view name) const {
    if (name == "kind") return kind;
    for (const auto& [key, value] : fields)
        if (key == name) return value;
    return {};
}

std::string FormatJournalLine(std::string_view kind,
                              const std::vector<std::pair<std::string, std::string>>& fields) {
    std::vector<std::string> parts{std::string(kind)};
    for (const auto& [key, value] : fields) {
        parts.push_back(key);
        parts.push_back(value);
    }
    return EncodeJournalLine(parts) + "\n";
}

std::vector<JournalEntry> ParseJournal(std::string_view text) {
    std::vector<JournalEntry> entries;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) break;  // a line still being written
        std::vector<std::string> parts = DecodeJournalLine(text.substr(start, end - start));
        start = end + 1;
        if (parts.empty() || parts[0].empty() || parts.size() % 2 == 0) continue;
        JournalEntry entry{parts[0], {}};
        for (size_t i = 1; i + 1 < parts.size(); i += 2) entry.fields.emplace_back(parts[i], parts[i + 1]);
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace vorlan::device
