// Lists the connected device's registry for ./vorlan sync, so a run's
// changes show as lines that differ: one line per value, sorted,
//   HKEY_LOCAL_MACHINE\Software\Key\Name = REG_DWORD: 30
// and a line "ROOT\key\" for a key that holds neither values nor keys (the
// default value shows as an empty name). Texts are UTF-8, long data is cut with its size
// said. Exit code 1 when the device cannot be reached or read.
//   DeviceRegistryList.exe
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <string>
#include <vector>

#include "Bstr.h"
#include "CeRapi.h"
#include "DeviceSession.h"

namespace {

using vorlan::com::AnsiFromWide;

constexpr size_t kShownBytes = 32;

std::string Hex(const BYTE* data, size_t size) {
    std::string out;
    char byte[4];
    for (size_t i = 0; i < size && i < kShownBytes; ++i) {
        std::snprintf(byte, sizeof byte, "%02X", data[i]);
        out += (i ? ", " : "") + std::string(byte);
    }
    if (size > kShownBytes) out += ", ... (" + std::to_string(size) + " bytes)";
    return out;
}

// The UTF-16 strings of the data, each up to its terminator.
std::vector<std::string> Strings(const BYTE* data, size_t size) {
    std::wstring all(reinterpret_cast<const wchar_t*>(data), size / 2);
    std::vector<std::string> strings;
    size_t from = 0;
    while (from < all.size()) {
        const size_t end = std::min(all.find(L'\0', from), all.size());
        if (end == from) break;
        strings.push_back(AnsiFromWide(all.substr(from, end - from)));
        from = end + 1;
    }
    return strings;
}

std::string Describe(DWORD type, const BYTE* data, size_t size) {
    switch (type) {
        case REG_SZ:
        case REG_EXPAND_SZ: {
            const auto strings = Strings(data, size);
            return std::string(type == REG_SZ ? "REG_SZ: " : "REG_EXPAND_SZ: ") +
                   (strings.empty() ? "" : strings[0]);
        }
        case REG_MULTI_SZ: {
            std::string joined;
            for (const std::string& s : Strings(data, size)) joined += (joined.empty() ? "" : "|") + s;
            return "REG_MULTI_SZ: " + joined;
        }
        case REG_DWORD:
            if (size == 4) {
                DWORD value;
                std::memcpy(&value, data, 4);
                return "REG_DWORD: " + std::to_string(value);
            }
            break;
        case REG_BINARY: return "REG_BINARY: " + Hex(data, size);
    }
    return "type " + std::to_string(type) + ": " + Hex(data, size);
}

bool ListKey(HKEY root, const std::string& rootName, const std::wstring& path, std::vector<std::string>& lines) {
    HKEY key = nullptr;
    if (CeRegOpenKeyEx(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    const std::string name = rootName + "\\" + (path.empty() ? "" : AnsiFromWide(path) + "\\");
    bool ok = true;
    bool anyValue = false;
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD nameChars = 256, type = 0;
        static BYTE data[64 * 1024];
        DWORD size = sizeof data;
        const LONG r = CeRegEnumValue(key, index, valueName, &nameChars, nullptr, &type, data, &size);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS) {
            ok = false;
            break;
        }
        lines.push_back(name + AnsiFromWide(std::wstring(valueName, nameChars)) + " = " + Describe(type, data, size));
        anyValue = true;
    }
    std::vector<std::wstring> children;
    for (DWORD index = 0;; ++index) {
        wchar_t child[256];
        DWORD chars = 256;
        const LONG r = CeRegEnumKeyEx(key, index, child, &chars, nullptr, nullptr, nullptr, nullptr);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS) {
            ok = false;
            break;
        }
        children.emplace_back(child, chars);
    }
    CeRegCloseKey(key);
    if (!anyValue && children.empty() && !path.empty()) lines.push_back(name);
    for (const std::wstring& child : children)
        ok = ListKey(root, rootName, path.empty() ? child : path + L"\\" + child, lines) && ok;
    return ok;
}

}  // namespace

int main() {
    vorlan::DeviceSession session;
    if (FAILED(session.Open())) {
        std::fprintf(stderr, "DeviceRegistryList: no device answers\n");
        return 1;
    }
    const struct {
        HKEY key;
        const char* name;
    } roots[] = {{HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
                 {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
                 {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
                 {HKEY_USERS, "HKEY_USERS"}};
    std::vector<std::string> lines;
    bool ok = true;
    for (const auto& root : roots) ok = ListKey(root.key, root.name, L"", lines) && ok;
    std::sort(lines.begin(), lines.end());
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
    if (!ok) std::fprintf(stderr, "DeviceRegistryList: a part of the registry could not be read\n");
    return ok ? 0 : 1;
}
