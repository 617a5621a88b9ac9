#include "RegistryReaders.h"

#include <vector>

namespace vorlan {
namespace {

LONG QueryValue(HKEY root, const std::string& subKey, const std::string& valueName, DWORD& type,
                std::vector<BYTE>& data) {
    HKEY key;
    LONG r = RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key);
    if (r != ERROR_SUCCESS) return r;
    DWORD size = static_cast<DWORD>(data.size());
    r = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    if (r == ERROR_SUCCESS) data.resize(size);
    return r;
}

bool ReadDword(HKEY root, const std::string& subKey, const std::string& valueName, DWORD& value) {
    std::vector<BYTE> data(sizeof(DWORD));
    DWORD type = 0;
    if (QueryValue(root, subKey, valueName, type, data) != ERROR_SUCCESS || type != REG_DWORD ||
        data.size() != sizeof(DWORD))
        return false;
    value = *reinterpret_cast<const DWORD*>(data.data());
    return true;
}

}  // namespace

LONG RegReadExpandString(HKEY root, const std::string& subKey, const std::string& valueName, std::string& out) {
    out.clear();
    std::vector<BYTE> data(kExpandStringReadSize);
    DWORD type = 0;
    LONG r = QueryValue(root, subKey, valueName, type, data);
    if (r != ERROR_SUCCESS) return r;
    if (type != REG_EXPAND_SZ && type != REG_SZ) return ERROR_INVALID_DATATYPE;
    // The stored text need not end in a terminator; it must leave room for one.
    std::string text(reinterpret_cast<const char*>(data.data()), data.size());
    if (size_t end = text.find('\0'); end != std::string::npos) text.resize(end);
    if (text.size() + 1 > kExpandStringReadSize) return ERROR_MORE_DATA;
    out = std::move(text);
    return ERROR_SUCCESS;
}

DWORD ReadTranslatePathSetting() {
    const std::string key = "SOFTWARE\\Dravenhall\\Common\\CommonDlgs";
    DWORD value = 1;
    if (!ReadDword(HKEY_CURRENT_USER, key, "TranslatePath", value))
        ReadDword(HKEY_LOCAL_MACHINE, key, "TranslatePath", value);
    return value;
}

}  // namespace vorlan
