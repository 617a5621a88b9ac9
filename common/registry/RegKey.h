#pragma once
// An owned registry key that mixes with plain registry calls: Open and
// Create return the registry's own result, Get hands out the HKEY.
#include <windows.h>

#include <utility>

namespace vorlan {

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    LONG Open(HKEY root, const char* subKey, REGSAM access) {
        Close();
        return RegOpenKeyExA(root, subKey, 0, access, &key_);
    }
    LONG Create(HKEY root, const char* subKey, const char* keyClass, REGSAM access) {
        Close();
        return RegCreateKeyExA(root, subKey, 0, const_cast<char*>(keyClass), 0, access, nullptr, &key_, nullptr);
    }
    void Close() {
        if (key_) RegCloseKey(std::exchange(key_, nullptr));
    }
    void Attach(HKEY key) {
        Close();
        key_ = key;
    }
    HKEY Detach() { return std::exchange(key_, nullptr); }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace vorlan
