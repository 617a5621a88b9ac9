#include "DeviceFileCrc.h"

#include <memory>

#include "Crc32.h"
#include "DeviceHandle.h"
#include "QuickCrcRecord.h"

namespace vorlan::devicefs {
namespace {

// Small enough for a device's memory, large enough to stream at full speed.
constexpr DWORD kBlockSize = 64 * 1024;

HRESULT CrcError(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return STG_E_FILENOTFOUND;
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return STG_E_SHAREVIOLATION;
    default: return E_HANDLE;
    }
}

uint64_t Join(DWORD high, DWORD low) { return (uint64_t{high} << 32) | low; }

HRESULT ContentCrc(HANDLE file, DWORD& crc) {
    auto block = std::make_unique<uint8_t[]>(kBlockSize);
    uint32_t value = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, block.get(), kBlockSize, &got, nullptr)) return CrcError(GetLastError());
        if (got == 0) break;
        value = Crc32Update(block.get(), got, value);
    }
    crc = value;
    return S_OK;
}

// The last-write time comes from the file's directory entry: the device's
// system library offers no other way to read it.
HRESULT QuickCrc(const wchar_t* path, uint64_t size, DWORD& crc) {
    WIN32_FIND_DATAW entry;
    FindHandle found(FindFirstFileW(path, &entry));
    if (!found.Valid()) return E_FAIL;
    crc = QuickCrc32(Join(entry.ftLastWriteTime.dwHighDateTime, entry.ftLastWriteTime.dwLowDateTime), size);
    return S_OK;
}

}  // namespace

HRESULT DeviceCalcFileCrc32(const wchar_t* path, DWORD* crc, BOOL quick) {
    if (!path || !crc) return E_INVALIDARG;
    *crc = 0;
    FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file.Valid()) return CrcError(GetLastError());
    DWORD high = 0;
    DWORD low = GetFileSize(file.Get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return CrcError(GetLastError());
    uint64_t size = Join(high, low);
    if (size == 0) return S_OK;
    DWORD value = 0;
    HRESULT hr = quick ? QuickCrc(path, size, value) : ContentCrc(file.Get(), value);
    if (FAILED(hr)) return hr;
    *crc = value;
    return S_OK;
}

}  // namespace vorlan::devicefs
