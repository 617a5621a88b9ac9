#include "SharedFile.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "Crc32.h"
#include "JournalLine.h"

namespace vorlan {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Mutex names cannot hold backslashes, and paths differ in case only on
// other systems; the checksum of the upper-cased path keeps names short.
std::string MutexName(const std::string& path) {
    std::string upper = path;
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    char name[64];
    std::snprintf(name, sizeof name, "Local\\VorlanSharedFile-%08X-%zu",
                  static_cast<unsigned>(Crc32(upper)), upper.size());
    return name;
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (Valid()) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE Get() const { return h_; }

private:
    HANDLE h_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

PathLock::PathLock(const std::string& path) {
    mutex_ = CreateMutexA(nullptr, FALSE, MutexName(path).c_str());
    if (!mutex_) return;
    DWORD wait = WaitForSingleObject(mutex_, INFINITE);
    // An abandoned lock was held by a process that died: the file may end in
    // a cut record, which readers skip, so it is safe to go on.
    held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

PathLock::~PathLock() {
    if (held_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
}

bool AppendToFile(const std::string& path, std::string_view bytes, bool flush, bool lock) {
    std::optional<PathLock> guard;
    if (lock) {
        guard.emplace(path);
        if (!guard->Held()) return false;
    }
    Handle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, kShareAll, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    if (!WriteAll(file.Get(), bytes)) return false;
    return !flush || FlushFileBuffers(file.Get());
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    // Read to the end rather than to a size taken first: appends may land
    // meanwhile, and a cut record at the end is the reader's to skip.
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return false;
        if (read == 0) return true;
        out.append(buffer, read);
    }
}

bool ReplaceFileContent(const std::string& path, std::string_view bytes) {
    std::string temporary = path + ".new";
    {
        Handle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid()) return false;
        if (!WriteAll(file.Get(), bytes) || !FlushFileBuffers(file.Get())) {
            DWORD error = GetLastError();
            DeleteFileA(temporary.c_str());
            SetLastError(error);
            return false;
        }
    }
    if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DWORD error = GetLastError();
    DeleteFileA(temporary.c_str());
    SetLastError(error);
    return false;
}

bool AppendJournalLine(const std::string& path, const std::vector<std::string>& fields) {
    return AppendToFile(path, EncodeJournalLine(fields) + "\n", false);
}

std::vector<std::vector<std::string>> ReadJournal(const std::string& path) {
    std::vector<std::vector<std::string>> lines;
    std::string text;
    if (!ReadWholeFile(path, text)) return lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(DecodeJournalLine(std::string_view(text).substr(start, end - start)));
    return lines;
}

}  // namespace vorlan
