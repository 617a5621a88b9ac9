#include "EventStore.h"

#include <windows.h>

#include <algorithm>

#include "EventSources.h"
#include "SharedFile.h"

namespace vorlan::eventlog {

EventStore::EventStore(std::string path, uint32_t maxSize)
    : path_(std::move(path)), maxSize_(std::max(maxSize, kSmallestMaxLogSize)) {}

size_t EventStore::RecordBound() const { return std::min<size_t>(kMaxEventRecordSize, maxSize_ / 4); }

bool EventStore::Append(const EventRecord& record) const {
    std::string bytes;
    if (!EncodeEventRecord(record, bytes) || bytes.size() > RecordBound()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (path_.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    PathLock lock(path_);
    if (!lock.Held()) return false;
    if (!AppendToFile(path_, bytes, true, false)) return false;

    WIN32_FILE_ATTRIBUTE_DATA info;
    if (!GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &info)) return true;
    uint64_t size = static_cast<uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    if (size <= maxSize_) return true;
    // The record is stored; a trim that fails leaves a log that is merely
    // longer than its bound, and the next append tries again.
    std::string content;
    if (ReadWholeFile(path_, content)) ReplaceFileContent(path_, KeepNewestRecords(content, maxSize_ / 2));
    return true;
}

bool EventStore::Read(DecodedLog& log) const {
    std::string content;
    if (path_.empty() || !ReadWholeFile(path_, content)) return false;
    log = DecodeEventLog(content);
    return true;
}

EventStore StoreOfLog(const std::string& log) { return EventStore(LogFilePath(log), LogMaxSize(log)); }

}  // namespace vorlan::eventlog
