#include "DeviceRegistry.h"

#include "Bstr.h"
#include "CeRapi.h"
#include "RegistryByPath.h"
#include "ValueText.h"

namespace vorlan {
namespace {

constexpr REGSAM kDeviceKeyAccess = 0xF003F;
constexpr size_t kStringReadChars = 500;

// An open device key, closed when it goes.
class DeviceKey {
public:
    ~DeviceKey() {
        if (key_) CeRegCloseKey(key_);
    }
    PHKEY Put() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

LONG ReadString(std::string_view path, wchar_t* buffer, size_t bufferChars) {
    DWORD type = 0;
    size_t bytes = bufferChars * sizeof(wchar_t);
    DWORD size = bytes > MAXDWORD ? MAXDWORD & ~DWORD{1} : static_cast<DWORD>(bytes);
    LONG r = CeRegQueryValueByPath(path, reinterpret_cast<BYTE*>(buffer), &type, &size);
    if (r != ERROR_SUCCESS) return r;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATATYPE;
    return registry_detail::TerminateText(buffer, size, bufferChars);
}

}  // namespace

LONG CeRegOpenKeyExA(HKEY root, const char* subKey, DWORD reserved, REGSAM access, PHKEY result) {
    return CeRegOpenKeyEx(root, subKey ? com::WideFromAnsi(subKey).c_str() : nullptr, reserved, access, result);
}

LONG CeRegQueryValueExA(HKEY key, const char* valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    return CeRegQueryValueEx(key, valueName ? com::WideFromAnsi(valueName).c_str() : nullptr, reserved, type, data,
                             size);
}

LONG CeRegQueryValueByPath(std::string_view path, BYTE* data, DWORD* type, DWORD* size) {
    HKEY root;
    std::string subKey, valueName;
    if (!SplitRegistryPath(path, &root, &subKey, &valueName)) return -1;
    DeviceKey key;
    if (LONG r = CeRegOpenKeyExA(root, subKey.c_str(), 0, kDeviceKeyAccess, key.Put()); r != ERROR_SUCCESS) {
        registry_detail::MarkUnopened(data, type, size);
        return r;
    }
    return CeRegQueryValueExA(key.Get(), valueName.c_str(), nullptr, type, data, size);
}

LONG CeRegReadString(std::string_view path, wchar_t* buffer, size_t bufferChars) {
    if (!buffer || bufferChars == 0) return ERROR_INVALID_PARAMETER;
    LONG r = ReadString(path, buffer, bufferChars);
    if (r != ERROR_SUCCESS) buffer[0] = L'\0';
    return r;
}

LONG CeRegReadString(std::string_view path, std::wstring& text) {
    wchar_t buffer[kStringReadChars];
    LONG r = CeRegReadString(path, buffer, kStringReadChars);
    text = buffer;
    return r;
}

}  // namespace vorlan
