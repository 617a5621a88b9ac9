#include "RegistryByPath.h"

#include <cstring>

#include "ExpandEnvironment.h"
#include "RegKey.h"
#include "RegistryPath.h"
#include "ValueText.h"

namespace vorlan {
namespace {

constexpr LONG kUnusablePath = -1;

HKEY KeyOf(RegistryRoot root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<uint32_t>(root))));
}

LONG ReadString(std::string_view path, char* buffer, size_t bufferSize) {
    DWORD type = 0;
    DWORD size = bufferSize > MAXDWORD ? MAXDWORD : static_cast<DWORD>(bufferSize);
    LONG r = RegQueryValueByPath(path, reinterpret_cast<BYTE*>(buffer), &type, &size);
    if (r != ERROR_SUCCESS) return r;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATATYPE;
    if ((r = registry_detail::TerminateText(buffer, size, bufferSize)) != ERROR_SUCCESS) return r;
    if (type == REG_EXPAND_SZ) {
        std::string expanded;
        if (!ExpandEnvironment(buffer, expanded, bufferSize)) return ERROR_MORE_DATA;
        std::memcpy(buffer, expanded.c_str(), expanded.size() + 1);
    }
    return ERROR_SUCCESS;
}

}  // namespace

BOOL SplitRegistryPath(std::string_view path, HKEY* root, std::string* subKey, std::string* valueName) {
    RegistryRoot found{};
    std::string key, value;
    if (!SplitRegistryPathText(path, found, key, value)) return FALSE;
    if (root) *root = KeyOf(found);
    if (subKey) *subKey = std::move(key);
    if (valueName) *valueName = std::move(value);
    return TRUE;
}

LONG RegQueryValueByPath(std::string_view path, BYTE* data, DWORD* type, DWORD* size) {
    HKEY root;
    std::string subKey, valueName;
    if (!SplitRegistryPath(path, &root, &subKey, &valueName)) return kUnusablePath;
    RegKey key;
    if (LONG r = key.Open(root, subKey.c_str(), KEY_READ); r != ERROR_SUCCESS) {
        registry_detail::MarkUnopened(data, type, size);
        return r;
    }
    return RegQueryValueExA(key.Get(), valueName.c_str(), nullptr, type, data, size);
}

LONG RegReadDword(std::string_view path, DWORD* value) {
    DWORD data = 0, type = 0, size = sizeof data;
    LONG r = RegQueryValueByPath(path, reinterpret_cast<BYTE*>(&data), &type, &size);
    if (r != ERROR_SUCCESS) return r;
    if (type != REG_DWORD || size != sizeof data) return ERROR_INVALID_DATATYPE;
    *value = data;
    return ERROR_SUCCESS;
}

LONG RegReadString(std::string_view path, char* buffer, size_t bufferSize) {
    if (!buffer || bufferSize == 0) return ERROR_INVALID_PARAMETER;
    LONG r = ReadString(path, buffer, bufferSize);
    if (r != ERROR_SUCCESS) buffer[0] = '\0';
    return r;
}

LONG RegReadString(std::string_view path, std::string& text) {
    char buffer[kRegStringReadSize];
    LONG r = RegReadString(path, buffer, sizeof buffer);
    text = buffer;
    return r;
}

LONG RegSetValueByPath(std::string_view path, DWORD type, const BYTE* data, DWORD size, BOOL flush) {
    HKEY root;
    std::string subKey, valueName;
    if (!SplitRegistryPath(path, &root, &subKey, &valueName)) return kUnusablePath;
    RegKey key;
    if (LONG r = key.Create(root, subKey.c_str(), "String", KEY_ALL_ACCESS); r != ERROR_SUCCESS) return r;
    LONG r = RegSetValueExA(key.Get(), valueName.c_str(), 0, type, data, size);
    if (flush) RegFlushKey(key.Get());
    return r;
}

LONG RegWriteString(std::string_view path, const char* text) {
    return RegSetValueByPath(path, REG_SZ, reinterpret_cast<const BYTE*>(text),
                             static_cast<DWORD>(std::strlen(text) + 1), FALSE);
}

LONG RegWriteDword(std::string_view path, DWORD value) {
    return RegSetValueByPath(path, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value, FALSE);
}

LONG DeleteRegValue(std::string_view path) {
    HKEY root;
    std::string subKey, valueName;
    if (!SplitRegistryPath(path, &root, &subKey, &valueName)) return kUnusablePath;
    RegKey key;
    if (LONG r = key.Open(root, subKey.c_str(), KEY_ALL_ACCESS); r != ERROR_SUCCESS) return r;
    return RegDeleteValueA(key.Get(), valueName.c_str());
}

}  // namespace vorlan
