#include "EventLog.h"

#include "EventSource.h"
#include "EventSources.h"

namespace vorlan {

void CEventLog::RegisterSource(const std::string& source, const std::string& messageFile) {
    source_ = source;
    // The registration's result does not change anything here: a source
    // that is not registered still writes to the Application log.
    eventlog::RegisterSource(eventlog::kApplicationLog, source, messageFile);
}

bool CEventLog::Report(DWORD eventId, WORD type, const std::vector<std::string>& strings, std::string_view data) {
    if (source_.empty()) return false;
    // Each report opens and closes the source, so nothing stays open
    // between the failures of a long run.
    std::unique_ptr<eventlog::EventSource> source = eventlog::EventSource::Open(source_);
    return source && source->Report(type, 0, eventId, strings, data);
}

}  // namespace vorlan
