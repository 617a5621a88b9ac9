#include "MapStrToStrReg.h"

#include <string>
#include <vector>

#include "RegKey.h"
#include "RegistryByPath.h"

namespace vorlan {
namespace {

constexpr size_t kLargestValue = size_t{1} << 26;

}  // namespace

LONG CMapStrToStrReg::Load(std::string_view keyPath) {
    Clear();
    HKEY root;
    std::string subKey;
    if (!SplitRegistryPath(keyPath, &root, &subKey, nullptr)) return -1;
    RegKey key;
    if (LONG r = key.Open(root, subKey.c_str(), KEY_READ); r != ERROR_SUCCESS) return r;
    DWORD count = 0, longestName = 0, longestData = 0;
    LONG r = RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                              &longestData, nullptr, nullptr);
    if (r != ERROR_SUCCESS) return r;
    // The longest lengths are counted in stored (UTF-16) units; text in the
    // ANSI code page can take more bytes, so the buffers grow when needed.
    std::vector<char> name(longestName + 1);
    std::vector<BYTE> data(longestData + 1);
    for (DWORD index = 0; index < count;) {
        DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
        r = RegEnumValueA(key.Get(), index, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize);
        if (r == ERROR_MORE_DATA && data.size() < kLargestValue) {
            name.resize(name.size() * 2);
            data.resize(data.size() * 2);
            continue;
        }
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS) return r;
        ++index;
        if (type != REG_SZ) continue;
        std::string value(reinterpret_cast<const char*>(data.data()), dataSize);
        if (size_t end = value.find('\0'); end != std::string::npos) value.resize(end);
        Set(std::string_view(name.data(), nameSize), value);
    }
    return ERROR_SUCCESS;
}

}  // namespace vorlan
