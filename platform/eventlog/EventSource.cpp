#include "EventSource.h"

#include <cstdio>

#include "EventSources.h"
#include "RecordFit.h"
#include "TextConversion.h"
#include "VorlanMessages.h"

namespace vorlan::eventlog {
namespace {

uint64_t Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

std::string ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? Utf8FromAnsi(std::string_view(name, size)) : std::string();
}

}  // namespace

std::unique_ptr<EventSource> EventSource::Open(const std::string& source) {
    if (source.empty() || source.find('\\') != std::string::npos) {
        SetLastError(ERROR_INVALID_NAME);
        return nullptr;
    }
    std::string log = FindSourceLog(source);
    // The system's own log, where it keeps records; a failure there leaves
    // the project's store in charge.
    HANDLE system = RegisterEventSourceA(nullptr, source.c_str());
    return std::unique_ptr<EventSource>(new EventSource(source, log, system));
}

EventSource::EventSource(std::string source, std::string log, HANDLE system)
    : source_(std::move(source)), log_(log), store_(StoreOfLog(log)), system_(system) {}

EventSource::~EventSource() {
    if (system_) DeregisterEventSource(system_);
}

EventRecord EventSource::NewRecord(WORD type, WORD category, DWORD eventId) const {
    EventRecord record;
    record.type = type;
    record.category = category;
    record.eventId = eventId;
    record.timeWritten = Now();
    record.processId = GetCurrentProcessId();
    record.source = Utf8FromAnsi(source_);
    record.computer = ComputerName();
    return record;
}

void EventSource::ReportRefusal(DWORD eventId, const char* reason) {
    EventRecord note = NewRecord(EVENTLOG_ERROR_TYPE, 0, EVT_EVENT_NOT_STORED);
    char id[16];
    std::snprintf(id, sizeof id, "0x%08lX", static_cast<unsigned long>(eventId));
    note.strings = {id, reason};
    store_.Append(note);
}

bool EventSource::Report(WORD type, WORD category, DWORD eventId, const std::vector<std::string>& strings,
                         std::string_view data) {
    // An event the store cannot take leaves a note of its loss, so the
    // failure it was to report does not vanish without a trace.
    if (strings.size() > kMaxEventStrings) {
        ReportRefusal(eventId, "it has more insertion strings than an event may have");
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    EventRecord record = NewRecord(type, category, eventId);
    for (const std::string& s : strings) record.strings.push_back(Utf8FromAnsi(s));
    record.data.assign(data);
    // Insertion strings too long for the store are cut with a visible mark
    // rather than the whole event refused.
    bool fits = FitEventRecord(record, store_.RecordBound());
    bool stored = fits && store_.Append(record);
    DWORD error = fits ? GetLastError() : ERROR_INVALID_PARAMETER;
    if (!stored && error == ERROR_INVALID_PARAMETER)
        ReportRefusal(eventId, "it is larger than the log can hold");

    bool system = true;
    if (system_) {
        // The system's log holds insertion strings to the same bound, so it
        // gets them as the store has them.
        std::vector<std::string> cut;
        if (fits)
            for (const std::string& s : record.strings) cut.push_back(AnsiFromUtf8(s));
        std::vector<const char*> texts;
        for (const std::string& s : fits ? cut : strings) texts.push_back(s.c_str());
        system = ReportEventA(system_, type, category, eventId, nullptr, static_cast<WORD>(texts.size()),
                              static_cast<DWORD>(data.size()), texts.empty() ? nullptr : texts.data(),
                              data.empty() ? nullptr : const_cast<char*>(data.data())) != FALSE;
    }
    if (!stored) SetLastError(error);
    return stored && system;
}

}  // namespace vorlan::eventlog
