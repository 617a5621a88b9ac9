#pragma once
// Files that several processes append to at once (the event store, the
// journals that programs keep for tests). A writer holds the file's lock for
// the whole of one append, so records never interleave; the lock is a named
// mutex, which the system releases when a holder dies.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

// The lock of one file path, shared by every process of the session.
class PathLock {
public:
    explicit PathLock(const std::string& path);
    ~PathLock();
    PathLock(const PathLock&) = delete;
    PathLock& operator=(const PathLock&) = delete;
    // False when the lock could not be created or taken.
    bool Held() const { return held_; }

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

// Appends bytes at the end of path (created when absent) in one write, under
// the path's lock when lock is true; flush makes it reach the disk before
// returning. False, with the system's error as the last error, on failure.
bool AppendToFile(const std::string& path, std::string_view bytes, bool flush, bool lock = true);

// The whole content of path, read while others may be appending. A missing
// file reads as empty; false when the file exists but cannot be read.
bool ReadWholeFile(const std::string& path, std::string& out);

// Replaces path's content by writing a file beside it and moving that over
// it, so a failure leaves the old content.
bool ReplaceFileContent(const std::string& path, std::string_view bytes);

// One journal line (see JournalLine.h) appended to path.
bool AppendJournalLine(const std::string& path, const std::vector<std::string>& fields);
// Every line of a journal, split into fields; empty when there is none.
std::vector<std::vector<std::string>> ReadJournal(const std::string& path);

}  // namespace vorlan
