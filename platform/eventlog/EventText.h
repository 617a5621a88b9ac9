#pragma once
// The readable text of an event: its source's message text for the event
// identifier, with the insertion strings in place.
#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "EventRecord.h"

namespace vorlan::eventlog {

// Message files loaded as data, kept while the object lives, so that
// formatting a whole log loads each file once.
class MessageFiles {
public:
    MessageFiles() = default;
    ~MessageFiles();
    MessageFiles(const MessageFiles&) = delete;
    MessageFiles& operator=(const MessageFiles&) = delete;

    // The message text of id from the first of the ";"-separated files that
    // has it (in language, or any language with 0), without the line break
    // at its end and with its insertion marks untouched.
    std::optional<std::string> Text(const std::string& files, DWORD id, LANGID language = 0);

private:
    HMODULE Load(const std::string& file);
    std::map<std::string, HMODULE> modules_;
};

// Type names as event viewers show them ("Error", "Warning", ...).
std::string EventTypeName(WORD type);

// The record's text in the ANSI code page: the message of its source in log
// with the insertion strings placed, else a text saying that the
// description is missing, followed by the insertion strings.
std::string FormatEventText(const EventRecord& record, const std::string& log, MessageFiles& files);

}  // namespace vorlan::eventlog
