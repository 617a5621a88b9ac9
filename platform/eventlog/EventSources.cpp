#include "EventSources.h"

#include <shlobj.h>

#include <vector>

namespace vorlan::eventlog {
namespace {

class Key {
public:
    Key() = default;
    ~Key() {
        if (h_) RegCloseKey(h_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* Put() { return &h_; }
    HKEY Get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

std::string LogKey(const std::string& log) { return std::string(kEventLogKey) + "\\" + log; }

bool ValidName(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

bool KeyExists(const std::string& path) {
    Key key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

// A string value of HKEY_LOCAL_MACHINE\key, expanded when it is REG_EXPAND_SZ.
bool ReadString(const std::string& key, const char* name, std::string& out) {
    Key k;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, k.Put()) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(k.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    std::vector<char> raw(size + 1, '\0');
    if (RegQueryValueExA(k.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(raw.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    std::string text(raw.data());
    if (type == REG_SZ) {
        out = text;
        return true;
    }
    DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) return false;
    std::vector<char> expanded(needed);
    DWORD written = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed);
    if (written == 0 || written > needed) return false;
    out = expanded.data();
    return true;
}

LONG WriteString(HKEY key, const char* name, DWORD type, const std::string& value) {
    return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
}

}  // namespace

std::string FindSourceLog(const std::string& source) {
    if (!ValidName(source)) return kApplicationLog;
    if (KeyExists(LogKey(kApplicationLog) + "\\" + source)) return kApplicationLog;
    Key logs;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEventLogKey, 0, KEY_READ, logs.Put()) != ERROR_SUCCESS)
        return kApplicationLog;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD size = sizeof name;
        LONG r = RegEnumKeyExA(logs.Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS) continue;
        if (KeyExists(LogKey(name) + "\\" + source)) return name;
    }
    return kApplicationLog;
}

std::string SourceMessageFile(const std::string& log, const std::string& source) {
    std::string file;
    if (!ValidName(log) || !ValidName(source)) return file;
    if (!ReadString(LogKey(log) + "\\" + source, "EventMessageFile", file)) file.clear();
    return file;
}

std::string LogFilePath(const std::string& log) {
    if (!ValidName(log)) return "";
    std::string file;
    if (ReadString(LogKey(log), "File", file) && !file.empty()) return file;
    char base[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, base)))
        return "";
    std::string folder = std::string(base) + "\\Dravenhall\\EventLog";
    if (SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr) != ERROR_SUCCESS &&
        GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
        return "";
    return folder + "\\" + log + ".evl";
}

uint32_t LogMaxSize(const std::string& log) {
    Key key;
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, LogKey(log).c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS ||
        RegQueryValueExA(key.Get(), "MaxSize", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return kDefaultMaxLogSize;
    return value < kSmallestMaxLogSize ? kSmallestMaxLogSize : value;
}

LONG RegisterSource(const std::string& log, const std::string& source, const std::string& messageFile,
                    DWORD typesSupported) {
    if (!ValidName(log) || !ValidName(source)) return ERROR_INVALID_NAME;
    Key key;
    LONG r = RegCreateKeyExA(HKEY_LOCAL_MACHINE, (LogKey(log) + "\\" + source).c_str(), 0, nullptr, 0,
                             KEY_WRITE, nullptr, key.Put(), nullptr);
    if (r != ERROR_SUCCESS) return r;
    r = WriteString(key.Get(), "EventMessageFile", REG_EXPAND_SZ, messageFile);
    if (r != ERROR_SUCCESS) return r;
    return RegSetValueExA(key.Get(), "TypesSupported", 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&typesSupported), sizeof typesSupported);
}

LONG UnregisterSource(const std::string& log, const std::string& source) {
    if (!ValidName(log) || !ValidName(source)) return ERROR_INVALID_NAME;
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, (LogKey(log) + "\\" + source).c_str());
}

LONG SetLogFile(const std::string& log, const std::string& file) {
    if (!ValidName(log)) return ERROR_INVALID_NAME;
    Key key;
    LONG r = RegCreateKeyExA(HKEY_LOCAL_MACHINE, LogKey(log).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                             key.Put(), nullptr);
    if (r != ERROR_SUCCESS) return r;
    return WriteString(key.Get(), "File", REG_EXPAND_SZ, file);
}

LONG DeleteLog(const std::string& log) {
    if (!ValidName(log)) return ERROR_INVALID_NAME;
    return RegDeleteTreeA(HKEY_LOCAL_MACHINE, LogKey(log).c_str());
}

}  // namespace vorlan::eventlog
