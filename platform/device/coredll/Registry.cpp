// The device's registry: its own hive, kept in the device's state folder.
#include <cstring>
#include <map>

#include "Device.h"

using namespace vorlan::device;

namespace {

constexpr uintptr_t kFirstHandle = 0x1000;

std::map<uintptr_t, KeyRef>& OpenKeys() {
    static auto* keys = new std::map<uintptr_t, KeyRef>;
    return *keys;
}
uintptr_t nextHandle = kFirstHandle;

uint64_t Now() {
    FILETIME t;
    GetSystemTimeAsFileTime(&t);
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

FILETIME ToFileTime(uint64_t t) { return FILETIME{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)}; }

// The key a handle stands for; the predefined roots are sign-extended
// 32-bit values.
bool RefOf(HKEY key, KeyRef& ref) {
    auto value = reinterpret_cast<uintptr_t>(key);
    uint32_t low = static_cast<uint32_t>(value);
    if (low >= 0x80000000u && low <= 0x80000003u) {
        ref = KeyRef{low - 0x80000000u, u""};
        return true;
    }
    auto it = OpenKeys().find(value);
    if (it == OpenKeys().end()) return false;
    ref = it->second;
    return true;
}

HKEY NewHandle(const KeyRef& ref) {
    uintptr_t handle = nextHandle;
    nextHandle += 4;
    OpenKeys()[handle] = ref;
    return reinterpret_cast<HKEY>(handle);
}

std::u16string_view Name(LPCWSTR text) { return text ? std::u16string_view(U16(text)) : std::u16string_view(); }

LONG Changed(LONG result) {
    if (result != ERROR_SUCCESS) return result;
    return static_cast<LONG>(Device::Get().SaveHive());
}

// Copies text into a buffer of *capacity characters; ERROR_MORE_DATA when
// the text and its terminator do not fit.
LONG CopyName(const std::u16string& text, LPWSTR buffer, LPDWORD capacity) {
    if (text.size() + 1 > *capacity) return ERROR_MORE_DATA;
    std::memcpy(buffer, text.data(), text.size() * 2);
    buffer[text.size()] = 0;
    *capacity = static_cast<DWORD>(text.size());
    return ERROR_SUCCESS;
}

LONG CopyData(const RegValue& v, LPDWORD type, LPBYTE data, LPDWORD size) {
    if (data && !size) return ERROR_INVALID_PARAMETER;
    if (type) *type = v.type;
    LONG result = ERROR_SUCCESS;
    if (data) {
        if (*size < v.data.size())
            result = ERROR_MORE_DATA;
        else if (!v.data.empty())
            std::memcpy(data, v.data.data(), v.data.size());
    }
    if (size) *size = static_cast<DWORD>(v.data.size());
    return result;
}

}  // namespace

extern "C" LONG WINAPI Device_RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::recursive_mutex> guard(Device::Get().RegistryLock());
    KeyRef base, out;
    if (!RefOf(key, base)) return ERROR_INVALID_HANDLE;
    LONG error = static_cast<LONG>(Device::Get().Registry().Open(base, Name(subKey), out));
    if (error == ERROR_SUCCESS) *result = NewHandle(out);
    return error;
}

extern "C" LONG WINAPI Device_RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR className, DWORD, REGSAM,
                                              LPSECURITY_ATTRIBUTES, PHKEY result, LPDWORD disposition) {
    if (!result || !subKey) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::recursive_mutex> guard(Device::Get().RegistryLock());
    if (!Device::Get().IsPrimary()) return ERROR_ACCESS_DENIED;
    KeyRef base, out;
    if (!RefOf(key, base)) return ERROR_INVALID_HANDLE;
    bool created = false;
    LONG error = static_cast<LONG>(Device::Get().Registry().Create(base, Name(subKey), Name(className), Now(), out, created));
    if (created) error = Changed(error);
    if (error != ERROR_SUCCESS) return error;
    *result = NewHandle(out);
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

extern "C" LONG WINAPI Device_RegCloseKey(HKEY key) {
    std::lock_guard<std::recursive_mutex> guard(Device::Get().RegistryLock());
    KeyRef ref;
    if (!RefOf(key, ref)) return ERROR_INVALID_HANDLE;
    OpenKeys().erase(reinterpret_cast<uintptr_t>(key));
    return ERROR_SUCCESS;
}

extern "C" LONG WINAPI Device_RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
    if (!subKey) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::recursive_mutex> guard(Device::Get().RegistryLock());
    if (!Device::Get().IsPrimary()) return ERROR_ACCESS_DENIED;
    KeyRef base;
    if (!RefOf(key, base)) return ERROR_INVALID_HANDLE;
    return Changed(static_cast<LONG>(Device::Get().Registry().DeleteKey(base, Name(subKey))));
}

extern "C" LONG WINAPI Device_RegDeleteValueW(HKEY key, LPCWSTR valueName) {
    std::lock_guard<std::recursive_mutex> guard(Device::Get().RegistryLock());
    if (!Device::Get().IsPrimary()) return ERROR_ACCESS_DENIED;
    KeyRef ref;
    if (!RefOf(key, ref)) return ERROR_INVALID_HANDLE;
    return Changed(static_cast<LONG>(Device::Get().Registry().DeleteValue(ref, Name(valueName))));
}

extern "C" LONG WINAPI Device_RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                                               LPDWORD size) {
    std::lock_guard<std::recursive_mutex> guard(Device::Get().RegistryLock());
    KeyRef ref;
    if (!RefOf(key, ref)) return ERROR_INVALID_HANDLE;
    const RegValue* v = nullptr;
    LONG error = static_cast<LONG>(Device::Get().Registry().QueryValue(ref, Name(valueName), v));
    if (error != ERROR_SUCCESS) return error;
    return CopyData(*v, type, data, size);
}

extern "C" LONG WINAPI Device_RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data,
                                             DWORD size) {
    if (!data && size) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::recursive_mutex> guard(Device::Get().RegistryLock());
    if (!Device::Get().IsPrimary()) return ERROR_ACCESS_DENIED;
    KeyRef ref;
    if (!RefOf(key, ref)) return ERROR_INVALID_HANDLE;
    return Changed(static_cast<LONG>(Device::Get().Registry().SetValue(ref, Name(valueName), type, data, size, Now())));
}

extern "C" LONG WINAPI Device_RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameSize, LPDWORD,
                                            LPWSTR className, LPDWORD classSize, PFILETIME lastWrite) {
    if (!name || !nameSize) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::recursive_mutex> guard(Device::Get().RegistryLock());
    KeyRef ref;
    if (!RefOf(key, ref)) return ERROR_INVALID_HANDLE;
    const RegKey* child = nullptr;
    LONG error = static_cast<LONG>(Device::Get().Registry().EnumKey(ref, index, child));
    if (error != ERROR_SUCCESS) return error;
    if (className && classSize && child->className.size() + 1 > *classSize) return ERROR_MORE_DATA;
    if ((error = CopyName(child->name, name, nameSize)) != ERROR_SUCCESS) return error;
    if (className && classSize) CopyName(child->className, className, classSize);
    if (lastWrite) *lastWrite = ToFileTime(child->lastWrite);
    return ERROR_SUCCESS;
}

extern "C" LONG WINAPI Device_RegEnumValueW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameSize, LPDWORD,
                                            LPDWORD type, LPBYTE data, LPDWORD size) {
    if (!name || !nameSize) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::recursive_mutex> guard(Device::Get().RegistryLock());
    KeyRef ref;
    if (!RefOf(key, ref)) return ERROR_INVALID_HANDLE;
    const RegValue* v = nullptr;
    LONG error = static_cast<LONG>(Device::Get().Registry().EnumValue(ref, index, v));
    if (error != ERROR_SUCCESS) return error;
    if ((error = CopyName(v->name, name, nameSize)) != ERROR_SUCCESS) return error;
    return CopyData(*v, type, data, size);
}

extern "C" LONG WINAPI Device_RegQueryInfoKeyW(HKEY key, LPWSTR className, LPDWORD classSize, LPDWORD,
                                               LPDWORD subKeys, LPDWORD maxSubKeyLen, LPDWORD maxClassLen,
                                               LPDWORD values, LPDWORD maxValueNameLen, LPDWORD maxValueLen,
                                               LPDWORD securityDescriptor, PFILETIME lastWrite) {
    if (className && !classSize) return ERROR_INVALID_PARAMETER;
    std::lock_guard<std::recursive_mutex> guard(Device::Get().RegistryLock());
    KeyRef ref;
    if (!RefOf(key, ref)) return ERROR_INVALID_HANDLE;
    KeyInfo info;
    LONG error = static_cast<LONG>(Device::Get().Registry().QueryInfo(ref, info));
    if (error != ERROR_SUCCESS) return error;
    if (className) {
        error = CopyName(info.className, className, classSize);
        if (error != ERROR_SUCCESS) return error;
    } else if (classSize) {
        *classSize = static_cast<DWORD>(info.className.size());
    }
    if (subKeys) *subKeys = info.subKeys;
    if (maxSubKeyLen) *maxSubKeyLen = info.maxSubKeyLen;
    if (maxClassLen) *maxClassLen = info.maxClassLen;
    if (values) *values = info.values;
    if (maxValueNameLen) *maxValueNameLen = info.maxValueNameLen;
    if (maxValueLen) *maxValueLen = info.maxValueLen;
    if (securityDescriptor) *securityDescriptor = 0;
    if (lastWrite) *lastWrite = ToFileTime(info.lastWrite);
    return ERROR_SUCCESS;
}
