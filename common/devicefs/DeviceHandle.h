#pragma once
// Owners of the file and search handles of this library, which the device's
// system library hands out as well as the desktop's.
#include <windows.h>

#include <utility>

namespace vorlan::devicefs {

class FileHandle {
public:
    explicit FileHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    // False when closing failed (buffered data may not have been written).
    bool Close() { return !Valid() || CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE)); }

private:
    HANDLE h_;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    ~FindHandle() {
        if (Valid()) FindClose(h_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }

private:
    HANDLE h_;
};

}  // namespace vorlan::devicefs
