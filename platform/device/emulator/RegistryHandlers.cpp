// Answers to the desktop's requests on the device's registry. Keys travel
// as the device's 32-bit values.
#include <algorithm>
#include <vector>

#include "DeviceCalls.h"
#include "Handlers.h"

namespace vorlan::device {

namespace {

constexpr uint32_t kMaxName = 32768;

HKEY Key(uint32_t value) { return reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(value))); }
uint32_t Wire(HKEY key) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(key)); }

}  // namespace

void OnRegOpenKeyEx(Request& r) {
    HKEY base = Key(r.in.U32());
    Text16 sub(r.in);
    if (!r.in.Done()) return;
    HKEY key = nullptr;
    LONG result = Ce.RegOpenKeyExW(base, sub, 0, KEY_ALL_ACCESS, &key);
    if (result == ERROR_SUCCESS) r.session.AddKey(key);
    r.out.U32(result);
    r.out.U32(Wire(key));
}

void OnRegCreateKeyEx(Request& r) {
    HKEY base = Key(r.in.U32());
    Text16 sub(r.in), className(r.in);
    if (!r.in.Done()) return;
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG result = Ce.RegCreateKeyExW(base, sub, 0, className.Mutable(), 0, KEY_ALL_ACCESS, nullptr, &key, &disposition);
    if (result == ERROR_SUCCESS) r.session.AddKey(key);
    r.out.U32(result);
    r.out.U32(Wire(key));
    r.out.U32(disposition);
}

void OnRegCloseKey(Request& r) {
    HKEY key = Key(r.in.U32());
    if (!r.in.Done()) return;
    LONG result = Ce.RegCloseKey(key);
    r.session.RemoveKey(key);
    r.out.U32(result);
}

void OnRegDeleteKey(Request& r) {
    HKEY key = Key(r.in.U32());
    Text16 sub(r.in);
    if (!r.in.Done()) return;
    r.out.U32(Ce.RegDeleteKeyW(key, sub));
}

void OnRegDeleteValue(Request& r) {
    HKEY key = Key(r.in.U32());
    Text16 name(r.in);
    if (!r.in.Done()) return;
    r.out.U32(Ce.RegDeleteValueW(key, name));
}

void OnRegQueryValueEx(Request& r) {
    HKEY key = Key(r.in.U32());
    Text16 name(r.in);
    bool wantData = r.in.U32() != 0, wantSize = r.in.U32() != 0;
    DWORD size = r.in.U32();
    if (!r.in.Done()) return;
    std::vector<BYTE> data(wantData ? std::min<size_t>(size, kDataChunk) : 0);
    DWORD type = 0, got = static_cast<DWORD>(data.size());
    LONG result = Ce.RegQueryValueExW(key, name, nullptr, &type, wantData ? data.data() : nullptr,
                                      wantData || wantSize ? &got : nullptr);
    r.out.U32(result);
    r.out.U32(type);
    r.out.U32(got);
    r.out.Bytes(data.data(), result == ERROR_SUCCESS && wantData ? std::min<size_t>(got, data.size()) : 0);
}

void OnRegSetValueEx(Request& r) {
    HKEY key = Key(r.in.U32());
    Text16 name(r.in);
    DWORD type = r.in.U32();
    auto data = r.in.Bytes(kDataChunk);
    if (!r.in.Done()) return;
    r.out.U32(Ce.RegSetValueExW(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())));
}

void OnRegEnumKeyEx(Request& r) {
    HKEY key = Key(r.in.U32());
    DWORD index = r.in.U32();
    DWORD nameCap = std::min<uint32_t>(r.in.U32(), kMaxName);
    bool wantClass = r.in.U32() != 0;
    DWORD classCap = std::min<uint32_t>(r.in.U32(), kMaxName);
    if (!r.in.Done()) return;
    std::vector<wchar_t> name(nameCap + 1), className(classCap + 1);
    FILETIME time = {};
    LONG result = Ce.RegEnumKeyExW(key, index, name.data(), &nameCap, nullptr, wantClass ? className.data() : nullptr,
                                   wantClass ? &classCap : nullptr, &time);
    r.out.U32(result);
    if (result != ERROR_SUCCESS) return;
    r.out.Text(std::u16string_view(reinterpret_cast<const char16_t*>(name.data()), nameCap));
    r.out.Text(std::u16string_view(reinterpret_cast<const char16_t*>(className.data()), wantClass ? classCap : 0));
    r.out.U32(time.dwLowDateTime);
    r.out.U32(time.dwHighDateTime);
}

void OnRegEnumValue(Request& r) {
    HKEY key = Key(r.in.U32());
    DWORD index = r.in.U32();
    DWORD nameCap = std::min<uint32_t>(r.in.U32(), kMaxName);
    bool wantData = r.in.U32() != 0, wantSize = r.in.U32() != 0;
    DWORD size = r.in.U32();
    if (!r.in.Done()) return;
    std::vector<wchar_t> name(nameCap + 1);
    std::vector<BYTE> data(wantData ? std::min<size_t>(size, kDataChunk) : 0);
    DWORD type = 0, got = static_cast<DWORD>(data.size());
    LONG result = Ce.RegEnumValueW(key, index, name.data(), &nameCap, nullptr, &type,
                                   wantData ? data.data() : nullptr, wantData || wantSize ? &got : nullptr);
    r.out.U32(result);
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return;
    r.out.Text(std::u16string_view(reinterpret_cast<const char16_t*>(name.data()),
                                   result == ERROR_SUCCESS ? nameCap : 0));
    r.out.U32(type);
    r.out.U32(got);
    r.out.Bytes(data.data(), result == ERROR_SUCCESS && wantData ? std::min<size_t>(got, data.size()) : 0);
}

void OnRegQueryInfoKey(Request& r) {
    HKEY key = Key(r.in.U32());
    DWORD classCap = std::min<uint32_t>(r.in.U32(), kMaxName);
    if (!r.in.Done()) return;
    std::vector<wchar_t> className(classCap + 1);
    DWORD counts[6] = {};
    FILETIME time = {};
    DWORD classSize = classCap;
    LONG result = Ce.RegQueryInfoKeyW(key, classCap ? className.data() : nullptr, &classSize, nullptr, &counts[0],
                                      &counts[1], &counts[2], &counts[3], &counts[4], &counts[5], nullptr, &time);
    r.out.U32(result);
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return;
    r.out.Text(std::u16string_view(reinterpret_cast<const char16_t*>(className.data()),
                                   result == ERROR_SUCCESS && classCap ? classSize : 0));
    for (DWORD c : counts) r.out.U32(c);
    r.out.U32(time.dwLowDateTime);
    r.out.U32(time.dwHighDateTime);
}

}  // namespace vorlan::device
