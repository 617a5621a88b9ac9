// What every device has when it starts: its standard folders, its name and
// owner record, and the registry values its profile sets.
#include <algorithm>

#include "Device.h"
#include "Exports.h"

namespace vorlan::device {

namespace {

void CreateFolders(const std::u16string& path) {
    for (size_t at = 1; at <= path.size(); ++at)
        if (at == path.size() || path[at] == u'\\')
            Device_CreateDirectoryW(W(path.substr(0, at)), nullptr);
}

void SetValue(HKEY root, const std::u16string& key, const std::u16string& name, DWORD type, const void* data,
              DWORD size) {
    HKEY h;
    if (Device_RegCreateKeyExW(root, W(key), 0, nullptr, 0, 0, nullptr, &h, nullptr) != ERROR_SUCCESS) return;
    Device_RegSetValueExW(h, W(name), 0, type, static_cast<const BYTE*>(data), size);
    Device_RegCloseKey(h);
}

void SetText(HKEY root, const std::u16string& key, const std::u16string& name, const std::u16string& text) {
    SetValue(root, key, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
}

}  // namespace

void Provision(const DeviceProfile& profile) {
    for (const char16_t* folder : {u"\\Windows", u"\\My Documents", u"\\Program Files", u"\\Temp"})
        CreateFolders(folder);
    for (const auto& [csidl, folder] : profile.folders) CreateFolders(folder);
    for (const auto& folder : profile.directories) CreateFolders(folder);
    SetText(HKEY_LOCAL_MACHINE, u"Ident", u"Name", profile.deviceName);
    // The owner record: fixed character fields in one binary value.
    char16_t owner[384] = {};
    const std::pair<size_t, const std::u16string*> fields[] = {
        {0, &profile.ownerName}, {36, &profile.ownerCompany}, {72, &profile.ownerAddress},
        {258, &profile.ownerTelephone}, {283, &profile.ownerEmail}};
    const size_t ends[] = {36, 72, 258, 283, 384};
    for (size_t i = 0; i < 5; ++i) {
        size_t room = ends[i] - fields[i].first - 1;
        fields[i].second->copy(owner + fields[i].first, std::min(room, fields[i].second->size()));
    }
    SetValue(HKEY_CURRENT_USER, u"ControlPanel\\Owner", u"Owner", REG_BINARY, owner, sizeof owner);
    for (const RegistrySetting& s : profile.registry)
        SetText(s.root == kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, s.key, s.name, s.value);
}

}  // namespace vorlan::device
