#include "FileCrc.h"

#include <cstring>
#include <string>
#include <vector>

#include "Bstr.h"
#include "CrcBlocks.h"
#include "DeviceFileCrc.h"
#include "DeviceInvoke.h"

namespace vorlan::filesync {
namespace {

using devicefs::kCrcRecordCrcOffset;
using devicefs::kCrcRecordSize;
using devicefs::kCrcRequestFlagOffset;
using devicefs::kCrcRequestSize;
constexpr DWORD kStatusUnknown = 5;

void PutWord(std::vector<BYTE>& block, size_t offset, DWORD value) {
    for (int i = 0; i < 4; ++i) block[offset + i] = static_cast<BYTE>(value >> (8 * i));
}

DWORD GetWord(const std::vector<BYTE>& block, size_t offset) {
    DWORD value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<DWORD>(block[offset + i]) << (8 * i);
    return value;
}

// A zeroed block with the path's UTF-16 text at 0; false when it does not
// fit maxChars characters.
bool PathBlock(const char* path, size_t maxChars, size_t size, std::vector<BYTE>& block) {
    const std::wstring wide = com::WideFromAnsi(path);
    if (wide.size() > maxChars || (*path && wide.empty())) return false;
    block.assign(size, 0);
    std::memcpy(block.data(), wide.data(), wide.size() * sizeof(wchar_t));
    return true;
}

std::vector<BYTE> TextBlock(const char* path) {
    const std::wstring wide = com::WideFromAnsi(path);
    std::vector<BYTE> block((wide.size() + 1) * sizeof(wchar_t), 0);
    std::memcpy(block.data(), wide.data(), wide.size() * sizeof(wchar_t));
    return block;
}

HRESULT DeviceCrc(const wchar_t* function, const char* path, DWORD* crc, DWORD flag) {
    if (!path || !crc) return E_INVALIDARG;
    *crc = 0;
    std::vector<BYTE> request;
    if (!PathBlock(path, kDeviceCrcPathChars, kCrcRequestSize, request)) return E_INVALIDARG;
    PutWord(request, kCrcRequestFlagOffset, flag);
    std::vector<BYTE> answer;
    const HRESULT hr = InvokeDeviceLibrary(function, request.data(), static_cast<DWORD>(request.size()), &answer);
    if (FAILED(hr) || answer.size() < 8) return E_FAIL;
    *crc = GetWord(answer, 4);
    return static_cast<HRESULT>(GetWord(answer, 0));
}

HRESULT DeviceStatus(const wchar_t* function, const char* path, DWORD* status) {
    if (!path || !status) return E_POINTER;
    *status = kStatusUnknown;
    const std::vector<BYTE> request = TextBlock(path);
    std::vector<BYTE> answer;
    const HRESULT hr = InvokeDeviceLibrary(function, request.data(), static_cast<DWORD>(request.size()), &answer);
    if (FAILED(hr)) return hr;
    if (answer.size() < 4) return E_FAIL;
    *status = GetWord(answer, 0);
    return hr;
}

// The device's result word, or the transport's failure (E_FAIL when the
// device gave no answer).
HRESULT DeviceResult(const wchar_t* function, const std::vector<BYTE>& request) {
    std::vector<BYTE> answer;
    const HRESULT hr = InvokeDeviceLibrary(function, request.data(), static_cast<DWORD>(request.size()), &answer);
    if (FAILED(hr)) return hr;
    return answer.size() < 4 ? E_FAIL : static_cast<HRESULT>(GetWord(answer, 0));
}

}  // namespace

HRESULT CalcFileCrc32(const char* path, DWORD* crc, BOOL quick) {
    if (!path || !crc) return E_INVALIDARG;
    return devicefs::DeviceCalcFileCrc32(com::WideFromAnsi(path).c_str(), crc, quick);
}

HRESULT CalcFolderCrc32(const char* path, DWORD* crc, BOOL quick) {
    if (!path || !crc) return E_INVALIDARG;
    return devicefs::DeviceCalcFolderCrc32(com::WideFromAnsi(path).c_str(), crc, quick);
}

HRESULT CeCalcCrc32OnDevice(const char* path, DWORD* crc, DWORD flag) {
    return DeviceCrc(L"CECalcCRC32", path, crc, flag);
}

HRESULT CeCalcFolderCrc32OnDevice(const char* path, DWORD* crc, DWORD flag) {
    return DeviceCrc(L"CECalcFolderCRC32", path, crc, flag);
}

HRESULT CeUpdateFileCrcRecordOnDevice(const char* path, DWORD crc) {
    if (!path) return E_POINTER;
    std::vector<BYTE> request;
    if (!PathBlock(path, kDeviceRecordPathChars, kCrcRecordSize, request)) return E_INVALIDARG;
    PutWord(request, kCrcRecordCrcOffset, crc);
    return DeviceResult(L"CeUpdateFileCRCRecord", request);
}

HRESULT CeGetFileSyncStatusOnDevice(const char* path, DWORD* status) {
    return DeviceStatus(L"CeGetFileSyncStatus", path, status);
}

HRESULT CeGetFolderSyncStatusOnDevice(const char* path, DWORD* status) {
    return DeviceStatus(L"CeGetFolderSyncStatus", path, status);
}

HRESULT CeRemoveFileCrcRecordOnDevice(const char* path) {
    if (!path) return E_POINTER;
    return DeviceResult(L"CeRemoveFileCRCRecord", TextBlock(path));
}

}  // namespace vorlan::filesync
