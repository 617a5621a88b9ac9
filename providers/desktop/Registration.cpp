// Registration of the store: its class under HKEY_CLASSES_ROOT (no
// threading model: the store lives in the host's main apartment) and its
// object type under ActiveSync's synchronisation objects.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>

#include "ProviderIds.h"
#include "RegKey.h"
#include "ServiceKeys.h"
#include "VorlanModule.h"

using namespace vorlan::provider;
using vorlan::RegKey;

namespace {

HRESULT FromRegistry(LONG error) { return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error); }

LONG CreateKey(HKEY parent, const char* name, RegKey& key) {
    return key.Create(parent, name, nullptr, KEY_ALL_ACCESS);
}

LONG SetText(HKEY key, const char* name, const std::string& value) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
}

// parent\name created, with its default value.
LONG CreateWithDefault(HKEY parent, const char* name, const std::string& value, RegKey& key) {
    const LONG error = CreateKey(parent, name, key);
    return error != ERROR_SUCCESS ? error : SetText(key.Get(), nullptr, value);
}

LONG ModulePath(std::string& path) {
    char buffer[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(g_module.Instance(), buffer, sizeof buffer);
    if (length == 0) return static_cast<LONG>(GetLastError());
    if (length >= sizeof buffer) return ERROR_INSUFFICIENT_BUFFER;
    path.assign(buffer, length);
    return ERROR_SUCCESS;
}

LONG RegisterServer() {
    std::string module;
    LONG error = ModulePath(module);
    if (error != ERROR_SUCCESS) return error;

    RegKey classes, clsid, server, progIdOfClass;
    if ((error = classes.Open(HKEY_CLASSES_ROOT, "CLSID", KEY_ALL_ACCESS)) != ERROR_SUCCESS ||
        (error = CreateKey(classes.Get(), kClsidText, clsid)) != ERROR_SUCCESS ||
        (error = CreateWithDefault(clsid.Get(), "InprocServer32", module, server)) != ERROR_SUCCESS ||
        (error = CreateWithDefault(clsid.Get(), "ProgId", kProgId, progIdOfClass)) != ERROR_SUCCESS)
        return error;

    RegKey progId, progIdClsid;
    if ((error = CreateKey(HKEY_CLASSES_ROOT, kProgId, progId)) != ERROR_SUCCESS ||
        (error = CreateWithDefault(progId.Get(), "CLSID", kClsidText, progIdClsid)) != ERROR_SUCCESS ||
        (error = SetText(progId.Get(), nullptr, kObjectType)) != ERROR_SUCCESS ||
        (error = SetText(progId.Get(), "Display Name", kStoreDescription)) != ERROR_SUCCESS)
        return error;

    // ActiveSync creates its objects key; a store cannot serve without it.
    RegKey objects, type;
    char icon[MAX_PATH + 16];
    std::snprintf(icon, sizeof icon, "%s, -%d", module.c_str(), kIconResource);
    if ((error = objects.Open(HKEY_LOCAL_MACHINE, vorlan::activesync::kObjectsKey, KEY_ALL_ACCESS)) != ERROR_SUCCESS ||
        (error = CreateWithDefault(objects.Get(), kObjectType, "Vorlan Object", type)) != ERROR_SUCCESS ||
        (error = SetText(type.Get(), "Display Name", "Vorlan")) != ERROR_SUCCESS ||
        (error = SetText(type.Get(), "Plural Name", "Vorlan Items")) != ERROR_SUCCESS ||
        (error = SetText(type.Get(), "Store", kProgId)) != ERROR_SUCCESS ||
        (error = SetText(type.Get(), "DefaultIcon", icon)) != ERROR_SUCCESS)
        return error;
    return ERROR_SUCCESS;
}

// A key that is already gone counts as deleted.
LONG DeleteKey(HKEY parent, const char* name) {
    const LONG error = RegDeleteKeyA(parent, name);
    return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
}

LONG UnregisterServer() {
    {
        RegKey classes, clsid;
        LONG error = classes.Open(HKEY_CLASSES_ROOT, "CLSID", KEY_ALL_ACCESS);
        if (error == ERROR_SUCCESS) error = clsid.Open(classes.Get(), kClsidText, KEY_ALL_ACCESS);
        if (error != ERROR_SUCCESS) return error;
        // The first subkey that cannot go ends the removal: it would be
        // found again at index 0 for ever.
        char name[MAX_PATH];
        while (RegEnumKeyA(clsid.Get(), 0, name, sizeof name) == ERROR_SUCCESS) {
            if ((error = RegDeleteKeyA(clsid.Get(), name)) != ERROR_SUCCESS) return error;
        }
        if ((error = DeleteKey(classes.Get(), kClsidText)) != ERROR_SUCCESS) return error;
    }
    LONG error;
    const std::string progIdClsid = std::string(kProgId) + "\\CLSID";
    if ((error = DeleteKey(HKEY_CLASSES_ROOT, progIdClsid.c_str())) != ERROR_SUCCESS ||
        (error = DeleteKey(HKEY_CLASSES_ROOT, kProgId)) != ERROR_SUCCESS)
        return error;
    RegKey objects;
    error = objects.Open(HKEY_LOCAL_MACHINE, vorlan::activesync::kObjectsKey, KEY_ALL_ACCESS);
    if (error == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    return error != ERROR_SUCCESS ? error : DeleteKey(objects.Get(), kObjectType);
}

}  // namespace

STDAPI DllRegisterServer() { return FromRegistry(RegisterServer()); }

STDAPI DllUnregisterServer() { return FromRegistry(UnregisterServer()); }
