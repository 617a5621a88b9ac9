#pragma once
// The store of one event log: a file of records (EventRecord.h) that any
// number of processes append to at once and that outlives a crash of any of
// them. Each append is one locked, flushed write; when the file has grown
// past its bound, the appender rewrites it with the newest half.
#include <cstdint>
#include <string>

#include "EventRecord.h"

namespace vorlan::eventlog {

class EventStore {
public:
    // A bound below kSmallestMaxLogSize is raised to it.
    EventStore(std::string path, uint32_t maxSize);

    const std::string& Path() const { return path_; }
    // The largest record Append takes: a quarter of the log's bound, at most
    // kMaxEventRecordSize. A trim keeps the newest half, so it keeps such a
    // record together with at least as many bytes of the ones before it.
    size_t RecordBound() const;
    // False, with the system's error as the last error, when the record does
    // not fit its bounds (ERROR_INVALID_PARAMETER; the records already there
    // stay) or the file cannot be written.
    bool Append(const EventRecord& record) const;
    // Every readable record, oldest first; false when the file exists but
    // cannot be read (a missing file holds no records).
    bool Read(DecodedLog& log) const;

private:
    std::string path_;
    uint32_t maxSize_;
};

// The store of a log as registered (EventSources.h); its path is "" when the
// log's file cannot be named.
EventStore StoreOfLog(const std::string& log);

}  // namespace vorlan::eventlog
