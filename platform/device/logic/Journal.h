#pragma once
// The device's journal: one line of UTF-8 JSON per event (a message box
// asked, a notification shown, a program started, a window closed, a DLL
// registered), a flat object whose values are all strings. Tests read it
// back through the emulator's control channel.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorlan::device {

struct JournalEntry {
    std::vector<std::pair<std::string, std::string>> fields;  // in written order, "kind" first
    // The value of a field, or "" when it is absent.
    std::string Get(std::string_view name) const;
};

// {"kind":"<kind>", then the fields} and a line feed.
std::string FormatJournalLine(std::string_view kind,
                              const std::vector<std::pair<std::string, std::string>>& fields);

// Reads one line written by FormatJournalLine; false for anything else.
bool ParseJournalLine(std::string_view line, JournalEntry& entry);

// Every well-formed line of a journal text.
std::vector<JournalEntry> ParseJournal(std::string_view text);

}  // namespace vorlan::device
