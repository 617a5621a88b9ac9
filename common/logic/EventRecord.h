#pragma once
// One record of the event store, and its byte layout in the log file.
//
// A log file is a plain sequence of records, each written by one append:
//
//   offset size  field
//   0      4     magic "VEVT" (0x54564556)
//   4      4     total length of the record, trailer included
//   8      2     layout version (1)
//   10     2     event type (1 error, 2 warning, 4 information, 8 and 16 audit)
//   12     2     category
//   14     2     number of insertion strings
//   16     4     event identifier
//   20     8     time written (100-ns intervals since 1601-01-01 UTC)
//   28     4     process identifier of the writer
//   32     4     size of the raw data
//   36     2     length of the source name
//   38     2     length of the computer name
//   40     ...   source name, computer name, then per insertion string a
//                4-byte length and its bytes, then the raw data
//   end-4  4     CRC-32 of every byte before it
//
// Integers are little-endian; texts are UTF-8 without terminator. A record
// that a crash cut short, or any other damage, fails its length or CRC
// check: the reader skips to the next record that passes both, so one bad
// spot costs only the records inside it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

struct EventRecord {
    uint16_t type = 0;
    uint16_t category = 0;
    uint32_t eventId = 0;
    uint64_t timeWritten = 0;
    uint32_t processId = 0;
    std::string source;
    std::string computer;
    std::vector<std::string> strings;
    std::string data;

    bool operator==(const EventRecord&) const = default;
};

inline constexpr uint32_t kEventRecordMagic = 0x54564556;
inline constexpr size_t kEventRecordHeaderSize = 40;
// Bounds a writer must keep and a reader checks, as the platform's own log
// does: at most 256 insertion strings of at most 32 KiB each, names of at
// most 256 bytes, raw data of at most 64 KiB, 1 MiB in all.
inline constexpr size_t kMaxEventStrings = 256;
inline constexpr size_t kMaxEventStringSize = 32 * 1024;
inline constexpr size_t kMaxEventNameSize = 256;
inline constexpr size_t kMaxEventDataSize = 64 * 1024;
inline constexpr size_t kMaxEventRecordSize = 1024 * 1024;

// The record's bytes; false (and out untouched) when a field exceeds its
// bound.
bool EncodeEventRecord(const EventRecord& record, std::string& out);

struct DecodedLog {
    std::vector<EventRecord> records;  // in file order, oldest first
    size_t damagedBytes = 0;           // bytes skipped as not a valid record
};

DecodedLog DecodeEventLog(std::string_view bytes);

// The content of a trimmed log: the newest valid records of bytes whose
// sizes add up to at most budget, oldest first; damaged spans are dropped.
std::string KeepNewestRecords(std::string_view bytes, size_t budget);

}  // namespace vorlan
