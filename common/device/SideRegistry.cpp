#include "SideRegistry.h"

#include <string>

#include "Bstr.h"
#include "RegistryByPath.h"

namespace vorlan {

namespace {

struct WidePath {
    HKEY root;
    std::wstring subKey, valueName;
};

bool Split(std::string_view path, WidePath& out) {
    std::string subKey, valueName;
    if (!SplitRegistryPath(path, &out.root, &subKey, &valueName)) return false;
    out.subKey = com::WideFromAnsi(subKey);
    out.valueName = com::WideFromAnsi(valueName);
    return true;
}

// A key of one side, closed through the same side.
class SideKey {
public:
    explicit SideKey(const CQvCERapiWrapper& side) : side_(side) {}
    ~SideKey() {
        if (key_) side_.RegCloseKey(key_);
    }
    SideKey(const SideKey&) = delete;
    SideKey& operator=(const SideKey&) = delete;
    PHKEY Put() { return &key_; }
    HKEY Get() const { return key_; }

private:
    const CQvCERapiWrapper& side_;
    HKEY key_ = nullptr;
};

}  // namespace

LONG QueryValueByPath(const CQvCERapiWrapper& side, std::string_view path, BYTE* data, DWORD* type, DWORD* size) {
    WidePath p;
    if (!Split(path, p)) return -1;
    SideKey key(side);
    if (LONG r = side.RegOpenKeyEx(p.root, p.subKey.c_str(), 0, KEY_READ, key.Put()); r != ERROR_SUCCESS) return r;
    return side.RegQueryValueEx(key.Get(), p.valueName.c_str(), nullptr, type, data, size);
}

LONG SetValueByPath(const CQvCERapiWrapper& side, std::string_view path, DWORD type, const BYTE* data, DWORD size) {
    WidePath p;
    if (!Split(path, p)) return -1;
    SideKey key(side);
    wchar_t keyClass[] = L"String";
    if (LONG r = side.RegCreateKeyEx(p.root, p.subKey.c_str(), 0, keyClass, 0, KEY_ALL_ACCESS, nullptr, key.Put(),
                                     nullptr);
        r != ERROR_SUCCESS)
        return r;
    return side.RegSetValueEx(key.Get(), p.valueName.c_str(), 0, type, data, size);
}

LONG DeleteValueByPath(const CQvCERapiWrapper& side, std::string_view path) {
    WidePath p;
    if (!Split(path, p)) return -1;
    SideKey key(side);
    if (LONG r = side.RegOpenKeyEx(p.root, p.subKey.c_str(), 0, KEY_ALL_ACCESS, key.Put()); r != ERROR_SUCCESS)
        return r;
    return side.RegDeleteValue(key.Get(), p.valueName.c_str());
}

LONG DeleteKeyByPath(const CQvCERapiWrapper& side, std::string_view path) {
    WidePath p;
    if (!Split(path, p)) return -1;
    // An empty last part would name the parent key itself.
    if (p.valueName.empty()) return ERROR_INVALID_PARAMETER;
    return side.RegDeleteKey(p.root, (p.subKey + L"\\" + p.valueName).c_str());
}

}  // namespace vorlan
