#include "WholeFile.h"

#include "DeviceHandle.h"

namespace vorlan::devicefs {
namespace {

constexpr DWORD kBlockSize = 64 * 1024;

HRESULT LastError() {
    DWORD error = GetLastError();
    return error == NO_ERROR ? E_FAIL : HRESULT_FROM_WIN32(error);
}

HRESULT WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() < kBlockSize ? static_cast<DWORD>(bytes.size()) : kBlockSize;
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return LastError();
        if (written == 0) return STG_E_MEDIUMFULL;
        bytes.remove_prefix(written);
    }
    return S_OK;
}

HRESULT WriteNewFile(const wchar_t* path, std::string_view bytes) {
    FileHandle file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return LastError();
    HRESULT hr = WriteAll(file.Get(), bytes);
    if (SUCCEEDED(hr) && !file.Close()) hr = LastError();
    return hr;
}

std::wstring BackupOf(const wchar_t* path) { return std::wstring(path) + L".bak"; }
std::wstring TemporaryOf(const wchar_t* path) { return std::wstring(path) + L".tmp"; }

bool IsAbsent(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

HRESULT DeleteIfThere(const std::wstring& path) {
    if (DeleteFileW(path.c_str()) || IsAbsent(GetLastError())) {
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && IsAbsent(GetLastError())) return S_OK;
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);  // still there, or cannot be looked at
    }
    return LastError();
}

// A replacement cut off between its two moves leaves the old content only in
// the backup; it is put back before the file is read or replaced, so the
// store never reads as empty while its content is still there.
HRESULT RecoverInterruptedReplacement(const wchar_t* path) {
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES || GetLastError() != ERROR_FILE_NOT_FOUND)
        return S_OK;
    const std::wstring backup = BackupOf(path);
    if (GetFileAttributesW(backup.c_str()) == INVALID_FILE_ATTRIBUTES) return S_OK;
    return MoveFileW(backup.c_str(), path) ? S_OK : LastError();
}

}  // namespace

HRESULT ReadWholeFile(const wchar_t* path, std::string& bytes) {
    bytes.clear();
    if (HRESULT hr = RecoverInterruptedReplacement(path); FAILED(hr)) return hr;
    FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file.Valid()) return LastError();
    DWORD high = 0;
    DWORD low = GetFileSize(file.Get(), &high);
    if (high == 0 && low != INVALID_FILE_SIZE) bytes.reserve(low);
    std::string block(kBlockSize, '\0');
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), block.data(), kBlockSize, &got, nullptr)) return LastError();
        if (got == 0) return S_OK;
        bytes.append(block, 0, got);
    }
}

HRESULT ReplaceWholeFile(const wchar_t* path, std::string_view bytes) {
    if (!path || !*path) return E_INVALIDARG;
    const std::wstring temporary = TemporaryOf(path);
    const std::wstring backup = BackupOf(path);

    HRESULT hr = RecoverInterruptedReplacement(path);
    if (SUCCEEDED(hr)) hr = WriteNewFile(temporary.c_str(), bytes);
    if (FAILED(hr)) {
        DeleteFileW(temporary.c_str());
        return hr;
    }
    // A backup left beside the file by an interrupted replacement is stale
    // and would block the move.
    DeleteFileW(backup.c_str());
    bool hadOld = MoveFileW(path, backup.c_str());
    if (!hadOld && GetLastError() != ERROR_FILE_NOT_FOUND) {
        hr = LastError();
        DeleteFileW(temporary.c_str());
        return hr;
    }
    if (!MoveFileW(temporary.c_str(), path)) {
        hr = LastError();
        if (hadOld) MoveFileW(backup.c_str(), path);
        DeleteFileW(temporary.c_str());
        return hr;
    }
    if (hadOld) DeleteFileW(backup.c_str());
    return S_OK;
}

HRESULT RemoveWholeFile(const wchar_t* path) {
    if (!path || !*path) return E_INVALIDARG;
    for (const std::wstring& file : {BackupOf(path), TemporaryOf(path), std::wstring(path)})
        if (HRESULT hr = DeleteIfThere(file); FAILED(hr)) return hr;
    return S_OK;
}

}  // namespace vorlan::devicefs
