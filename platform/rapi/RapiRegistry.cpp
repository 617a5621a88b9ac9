// The device's registry.
#include <algorithm>
#include <cstring>

#include "CeRapi.h"
#include "RapiSession.h"

using namespace vorlan::rapi;
using vorlan::device::Op;

namespace {

constexpr LONG kNotConnected = ERROR_DEVICE_NOT_CONNECTED;

const char16_t* Text16(LPCWSTR text) { return reinterpret_cast<const char16_t*>(text); }

// Copies text and its terminator into a caller's buffer of capacity
// characters; the device already kept the text within it.
void CopyText(const std::u16string& text, LPWSTR buffer, DWORD capacity) {
    if (!buffer || capacity == 0) return;
    size_t n = std::min<size_t>(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), n * 2);
    buffer[n] = 0;
}

LONG RunResult(Call& call) {
    if (!call.Run()) return kNotConnected;
    return static_cast<LONG>(call.Out().U32());
}

}  // namespace

RAPI_API LONG WINAPI CeRegOpenKeyEx(HKEY hKey, LPCWSTR lpszSubKey, DWORD, REGSAM, PHKEY phkResult) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    Call call(Op::RegOpenKeyEx);
    call.In().U32(ToDevice(hKey));
    call.In().Text(Text16(lpszSubKey));
    LONG result = RunResult(call);
    uint32_t key = call.Out().U32();
    if (result == ERROR_SUCCESS) *phkResult = FromDevice<HKEY>(key);
    return result;
}

RAPI_API LONG WINAPI CeRegCreateKeyEx(HKEY hKey, LPCWSTR lpszSubKey, DWORD, LPWSTR lpszClass, DWORD, REGSAM,
                                      LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    Call call(Op::RegCreateKeyEx);
    call.In().U32(ToDevice(hKey));
    call.In().Text(Text16(lpszSubKey));
    call.In().Text(Text16(lpszClass));
    LONG result = RunResult(call);
    uint32_t key = call.Out().U32();
    DWORD disposition = call.Out().U32();
    if (result == ERROR_SUCCESS) {
        *phkResult = FromDevice<HKEY>(key);
        if (lpdwDisposition) *lpdwDisposition = disposition;
    }
    return result;
}

RAPI_API LONG WINAPI CeRegCloseKey(HKEY hKey) {
    Call call(Op::RegCloseKey);
    call.In().U32(ToDevice(hKey));
    return RunResult(call);
}

RAPI_API LONG WINAPI CeRegDeleteKey(HKEY hKey, LPCWSTR lpszSubKey) {
    Call call(Op::RegDeleteKey);
    call.In().U32(ToDevice(hKey));
    call.In().Text(Text16(lpszSubKey));
    return RunResult(call);
}

RAPI_API LONG WINAPI CeRegDeleteValue(HKEY hKey, LPCWSTR lpszValueName) {
    Call call(Op::RegDeleteValue);
    call.In().U32(ToDevice(hKey));
    call.In().Text(Text16(lpszValueName));
    return RunResult(call);
}

RAPI_API LONG WINAPI CeRegQueryValueEx(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                                       LPDWORD lpcbData) {
    if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
    Call call(Op::RegQueryValueEx);
    call.In().U32(ToDevice(hKey));
    call.In().Text(Text16(lpValueName));
    call.In().U32(lpData != nullptr);
    call.In().U32(lpcbData != nullptr);
    call.In().U32(lpcbData ? *lpcbData : 0);
    LONG result = RunResult(call);
    if (result == kNotConnected) return result;
    DWORD type = call.Out().U32();
    DWORD size = call.Out().U32();
    auto data = call.Out().Bytes(lpcbData ? *lpcbData : 0);
    if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        if (lpType) *lpType = type;
        if (lpcbData) *lpcbData = size;
    }
    if (result == ERROR_SUCCESS && lpData && !data.empty()) std::memcpy(lpData, data.data(), data.size());
    return result;
}

RAPI_API LONG WINAPI CeRegSetValueEx(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                                     DWORD cbData) {
    if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
    if (cbData > vorlan::device::kDataChunk) return ERROR_INVALID_PARAMETER;
    Call call(Op::RegSetValueEx);
    call.In().U32(ToDevice(hKey));
    call.In().Text(Text16(lpValueName));
    call.In().U32(dwType);
    call.In().Bytes(lpData, cbData);
    return RunResult(call);
}

RAPI_API LONG WINAPI CeRegEnumKeyEx(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcbName, LPDWORD,
                                    LPWSTR lpClass, LPDWORD lpcbClass, PFILETIME lpftLastWriteTime) {
    if (!lpName || !lpcbName) return ERROR_INVALID_PARAMETER;
    Call call(Op::RegEnumKeyEx);
    call.In().U32(ToDevice(hKey));
    call.In().U32(dwIndex);
    call.In().U32(*lpcbName);
    call.In().U32(lpClass && lpcbClass);
    call.In().U32(lpcbClass ? *lpcbClass : 0);
    LONG result = RunResult(call);
    if (result != ERROR_SUCCESS) return result;
    std::u16string name = call.Out().Text();
    std::u16string className = call.Out().Text();
    FILETIME time;
    time.dwLowDateTime = call.Out().U32();
    time.dwHighDateTime = call.Out().U32();
    CopyText(name, lpName, *lpcbName);
    *lpcbName = static_cast<DWORD>(name.size());
    if (lpClass && lpcbClass) {
        CopyText(className, lpClass, *lpcbClass);
        *lpcbClass = static_cast<DWORD>(className.size());
    }
    if (lpftLastWriteTime) *lpftLastWriteTime = time;
    return result;
}

RAPI_API LONG WINAPI CeRegEnumValue(HKEY hKey, DWORD dwIndex, LPWSTR lpszValueName, LPDWORD lpcbValueName,
                                    LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    if (!lpszValueName || !lpcbValueName || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
    Call call(Op::RegEnumValue);
    call.In().U32(ToDevice(hKey));
    call.In().U32(dwIndex);
    call.In().U32(*lpcbValueName);
    call.In().U32(lpData != nullptr);
    call.In().U32(lpcbData != nullptr);
    call.In().U32(lpcbData ? *lpcbData : 0);
    LONG result = RunResult(call);
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return result;
    std::u16string name = call.Out().Text();
    DWORD type = call.Out().U32();
    DWORD size = call.Out().U32();
    auto data = call.Out().Bytes(lpcbData ? *lpcbData : 0);
    if (result == ERROR_SUCCESS) {
        CopyText(name, lpszValueName, *lpcbValueName);
        *lpcbValueName = static_cast<DWORD>(name.size());
        if (lpData && !data.empty()) std::memcpy(lpData, data.data(), data.size());
    }
    if (lpType) *lpType = type;
    if (lpcbData) *lpcbData = size;
    return result;
}

RAPI_API LONG WINAPI CeRegQueryInfoKey(HKEY hKey, LPWSTR lpClass, LPDWORD lpcbClass, LPDWORD, LPDWORD lpcSubKeys,
                                       LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                                       LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                                       LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime) {
    if (lpClass && !lpcbClass) return ERROR_INVALID_PARAMETER;
    Call call(Op::RegQueryInfoKey);
    call.In().U32(ToDevice(hKey));
    call.In().U32(lpClass ? *lpcbClass : 0);
    LONG result = RunResult(call);
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return result;
    std::u16string className = call.Out().Text();
    DWORD counts[6];
    for (DWORD& c : counts) c = call.Out().U32();
    FILETIME time;
    time.dwLowDateTime = call.Out().U32();
    time.dwHighDateTime = call.Out().U32();
    if (lpcbClass) {
        if (result == ERROR_SUCCESS && lpClass) CopyText(className, lpClass, *lpcbClass);
        *lpcbClass = static_cast<DWORD>(className.size());
    }
    LPDWORD outs[6] = {lpcSubKeys, lpcbMaxSubKeyLen, lpcbMaxClassLen, lpcValues, lpcbMaxValueNameLen, lpcbMaxValueLen};
    for (int i = 0; i < 6; ++i)
        if (outs[i]) *outs[i] = counts[i];
    if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
    if (lpftLastWriteTime) *lpftLastWriteTime = time;
    return result;
}
