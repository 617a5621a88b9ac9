#pragma once
// The device's journal: one line per event (a message box asked, a
// notification shown, a program started), written with the project's
// journal lines (JournalLine.h) as the event's kind followed by name and
// value fields. Tests read it back through the emulator's control channel.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorlan::device {

struct JournalEntry {
    std::string kind;
    std::vector<std::pair<std::string, std::string>> fields;  // in written order
    // The value of a field, or "" when it is absent.
    std::string Get(std::string_view name) const;
};

// The line of one event, line feed included.
std::string FormatJournalLine(std::string_view kind,
                              const std::vector<std::pair<std::string, std::string>>& fields);

// Every line of a journal text that holds a kind and whole name/value pairs.
std::vector<JournalEntry> ParseJournal(std::string_view text);

}  // namespace vorlan::device
