// Registration of a server's classes under HKEY_CLASSES_ROOT:
//   <ProgID>.1                  = display name, \CLSID = {clsid}
//   <ProgID>                    = display name, \CLSID = {clsid}, \CurVer = <ProgID>.1
//   CLSID\{clsid}               = display name, \ProgID, \VersionIndependentProgID,
//                                 \Programmable, \InprocServer32 (path, ThreadingModel
//                                 "Apartment"), \TypeLib = {libid}
// and the type library embedded in the module; a server with an AppID also
//   AppID\{appid}               = name
//   AppID\<name>.DLL           = "AppID" = {appid}
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <string>

#include "ComModule.h"
#include "ComServer.h"

namespace vorlan::com {
namespace {

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring Widen(const char* text) {
    std::wstring out;
    while (*text) out += static_cast<wchar_t>(static_cast<unsigned char>(*text++));
    return out;
}

// Creates HKCR\<path> with its default value, and optionally one named value.
HRESULT WriteKey(const std::wstring& path, const std::wstring& value,
                 const wchar_t* name = nullptr, const std::wstring& named = {}) {
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) return HRESULT_FROM_WIN32(rc);
    auto set = [&](const wchar_t* valueName, const std::wstring& text) {
        return RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    };
    if (!value.empty()) rc = set(nullptr, value);
    if (rc == ERROR_SUCCESS && name) rc = set(name, named);
    RegCloseKey(key);
    return HRESULT_FROM_WIN32(rc);
}

HRESULT DeleteTree(const std::wstring& path) {
    LONG rc = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
        RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
        return S_OK;
    }
    return HRESULT_FROM_WIN32(rc);
}

HRESULT RegisterClass(const ComClass& c, const std::wstring& modulePath, const GUID& libid) {
    const std::wstring clsid = GuidText(*c.clsid);
    const std::wstring progId = Widen(c.progId);
    const std::wstring versioned = progId + L".1";
    const std::wstring name = Widen(c.description);
    const std::wstring classKey = L"CLSID\\" + clsid;
    const std::wstring steps[][2] = {
        {versioned, name},           {versioned + L"\\CLSID", clsid},
        {progId, name},              {progId + L"\\CLSID", clsid},
        {progId + L"\\CurVer", versioned},
        {classKey, name},            {classKey + L"\\ProgID", versioned},
        {classKey + L"\\VersionIndependentProgID", progId},
        {classKey + L"\\Programmable", L""},
        {classKey + L"\\TypeLib", GuidText(libid)},
    };
    for (const auto& step : steps) {
        HRESULT hr = WriteKey(step[0], step[1]);
        if (FAILED(hr)) return hr;
    }
    return WriteKey(classKey + L"\\InprocServer32", modulePath, L"ThreadingModel", L"Apartment");
}

// The module's entry is named after the AppID's name, as the server's file.
std::wstring AppIdModuleKey(const ComServer& server) { return L"AppID\\" + Widen(server.appName) + L".DLL"; }

HRESULT RegisterAppId(const ComServer& server) {
    const std::wstring appId = GuidText(*server.appId);
    HRESULT hr = WriteKey(L"AppID\\" + appId, Widen(server.appName));
    if (FAILED(hr)) return hr;
    return WriteKey(AppIdModuleKey(server), L"", L"AppID", appId);
}

}  // namespace

// The type library first, then the classes; a failure of either is
// reported with the self-registration code that names it.
HRESULT RegisterServer(const ComServer& server) {
    std::wstring path = ComModule::Instance().Path();
    if (path.empty()) return SELFREG_E_TYPELIB;
    ITypeLib* lib = nullptr;
    HRESULT hr = ComModule::Instance().TypeLib(&lib);
    if (SUCCEEDED(hr)) {
        hr = RegisterTypeLib(lib, path.data(), nullptr);
        lib->Release();
    }
    if (FAILED(hr)) return SELFREG_E_TYPELIB;
    for (int i = 0; i < server.classCount; ++i) {
        if (FAILED(RegisterClass(server.classes[i], path, *server.libid))) return SELFREG_E_CLASS;
    }
    if (server.appId && FAILED(RegisterAppId(server))) return SELFREG_E_CLASS;
    return S_OK;
}

HRESULT UnregisterServer(const ComServer& server) {
    HRESULT result = S_OK;
    for (int i = 0; i < server.classCount; ++i) {
        const ComClass& c = server.classes[i];
        const std::wstring progId = Widen(c.progId);
        for (const std::wstring& key :
             {progId + L".1", progId, L"CLSID\\" + GuidText(*c.clsid)}) {
            HRESULT hr = DeleteTree(key);
            if (FAILED(hr) && SUCCEEDED(result)) result = hr;
        }
    }
    if (server.appId) {
        for (const std::wstring& key : {L"AppID\\" + GuidText(*server.appId), AppIdModuleKey(server)}) {
            HRESULT hr = DeleteTree(key);
            if (FAILED(hr) && SUCCEEDED(result)) result = hr;
        }
    }
    HRESULT hr = UnRegisterTypeLib(*server.libid, server.libMajor, server.libMinor,
                                   LOCALE_NEUTRAL, SYS_WIN64);
    if (FAILED(hr) && hr != TYPE_E_REGISTRYACCESS && hr != TYPE_E_LIBNOTREGISTERED &&
        SUCCEEDED(result))
        result = hr;
    return result;
}

}  // namespace vorlan::com
