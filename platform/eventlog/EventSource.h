#pragma once
// Writing events under a source, as RegisterEventSource, ReportEvent and
// DeregisterEventSource do: the record goes into the project's own store of
// the source's log and, on a system whose event log keeps records, into that
// log as well.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "EventStore.h"

namespace vorlan::eventlog {

class EventSource {
public:
    // nullptr for an empty source name (or one holding a backslash), with
    // ERROR_INVALID_NAME as the last error.
    static std::unique_ptr<EventSource> Open(const std::string& source);
    ~EventSource();
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;

    const std::string& Log() const { return log_; }
    const EventStore& Store() const { return store_; }

    // Texts in the process's ANSI code page. True when the store took the
    // record (and the system's log too, where there is one). Insertion
    // strings that would make the record too large for the store are cut,
    // each ended by a mark that says so (RecordFit.h). A record the store
    // still refuses as too large (raw data, more than kMaxEventStrings
    // strings) is replaced in the store by an EVT_EVENT_NOT_STORED record
    // naming its identifier, and the result is false.
    bool Report(WORD type, WORD category, DWORD eventId, const std::vector<std::string>& strings,
                std::string_view data = {});

private:
    EventSource(std::string source, std::string log, HANDLE system);
    EventRecord NewRecord(WORD type, WORD category, DWORD eventId) const;
    void ReportRefusal(DWORD eventId, const char* reason);

    std::string source_;
    std::string log_;
    EventStore store_;
    HANDLE system_;
};

}  // namespace vorlan::eventlog
