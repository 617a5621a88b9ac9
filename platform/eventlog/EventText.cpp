#include "EventText.h"

#include <cstdio>

#include "EventSources.h"
#include "MessageText.h"
#include "TextConversion.h"

namespace vorlan::eventlog {

MessageFiles::~MessageFiles() {
    for (auto& [file, module] : modules_)
        if (module) FreeLibrary(module);
}

HMODULE MessageFiles::Load(const std::string& file) {
    auto found = modules_.find(file);
    if (found != modules_.end()) return found->second;
    HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    modules_.emplace(file, module);
    return module;
}

std::optional<std::string> MessageFiles::Text(const std::string& files, DWORD id, LANGID language) {
    size_t start = 0;
    while (start <= files.size()) {
        size_t end = files.find(';', start);
        if (end == std::string::npos) end = files.size();
        std::string file = files.substr(start, end - start);
        start = end + 1;
        if (file.empty()) continue;
        HMODULE module = Load(file);
        if (!module) continue;
        char* text = nullptr;
        DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                          FORMAT_MESSAGE_IGNORE_INSERTS,
                                      module, id, language, reinterpret_cast<char*>(&text), 0, nullptr);
        if (length == 0 || !text) continue;
        std::string out(text, length);
        LocalFree(text);
        return TrimLineEnds(std::move(out));
    }
    return std::nullopt;
}

std::string EventTypeName(WORD type) {
    switch (type) {
        case EVENTLOG_SUCCESS: return "Success";
        case EVENTLOG_ERROR_TYPE: return "Error";
        case EVENTLOG_WARNING_TYPE: return "Warning";
        case EVENTLOG_INFORMATION_TYPE: return "Information";
        case EVENTLOG_AUDIT_SUCCESS: return "Audit Success";
        case EVENTLOG_AUDIT_FAILURE: return "Audit Failure";
        default: return "Type " + std::to_string(type);
    }
}

std::string FormatEventText(const EventRecord& record, const std::string& log, MessageFiles& files) {
    std::vector<std::string> strings;
    for (const std::string& s : record.strings) strings.push_back(AnsiFromUtf8(s));
    std::string source = AnsiFromUtf8(record.source);
    std::string messageFiles = SourceMessageFile(log, source);
    if (std::optional<std::string> text = files.Text(messageFiles, record.eventId))
        return FormatMessageInserts(*text, strings);

    char head[160];
    std::snprintf(head, sizeof head, "The description of event 0x%08X is not in the message file of source ",
                  static_cast<unsigned>(record.eventId));
    std::string out = head + ("\"" + source + "\".");
    if (!strings.empty()) {
        out += " Insertion strings:";
        for (const std::string& s : strings) out += " \"" + s + "\"";
    }
    return out;
}

}  // namespace vorlan::eventlog
