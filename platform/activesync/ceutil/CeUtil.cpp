// CeUtil.dll: ActiveSync's service settings as registry keys of the
// connected device's partnership.
#include "CeUtil.h"

#include <string>

#include "ServiceKeys.h"

namespace {

HRESULT FromRegistry(LONG error) { return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error); }

// The key below HKEY_CURRENT_USER that root stands for now.
HRESULT RootPath(UINT root, std::string& path) {
    using namespace vorlan::activesync;
    if (root != CESVC_SYNCHRONIZATION) return E_INVALIDARG;
    DWORD partner = 0, size = sizeof partner;
    const LONG error = RegGetValueA(HKEY_CURRENT_USER, kPartnersKey, kCurrentPartnerValue, RRF_RT_REG_DWORD,
                                    nullptr, &partner, &size);
    if (error == ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED);
    if (error != ERROR_SUCCESS) return FromRegistry(error);
    path = std::string(kPartnersKey) + "\\P" + std::to_string(partner) + "\\" + kPartnerSynchronizationKey;
    return S_OK;
}

}  // namespace

extern "C" {

HRESULT WINAPI CeSvcOpen(UINT uSvc, LPSTR pszPath, BOOL fCreate, HCESVC* phSvc) {
    if (!phSvc) return E_INVALIDARG;
    *phSvc = nullptr;
    std::string path;
    const HRESULT root = RootPath(uSvc, path);
    if (FAILED(root)) return root;
    if (pszPath && *pszPath) path += std::string("\\") + pszPath;
    HKEY key = nullptr;
    const LONG error = fCreate ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr)
                               : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (error == ERROR_SUCCESS) *phSvc = key;
    return FromRegistry(error);
}

HRESULT WINAPI CeSvcClose(HCESVC hSvc) {
    if (!hSvc) return E_INVALIDARG;
    return FromRegistry(RegCloseKey(hSvc));
}

HRESULT WINAPI CeSvcSetDword(HCESVC hSvc, LPCSTR pszValName, DWORD dwVal) {
    if (!hSvc) return E_INVALIDARG;
    return FromRegistry(
        RegSetValueExA(hSvc, pszValName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwVal), sizeof dwVal));
}

HRESULT WINAPI CeSvcGetDword(HCESVC hSvc, LPCSTR pszValName, DWORD* pdwVal) {
    if (!hSvc || !pdwVal) return E_INVALIDARG;
    DWORD type = 0, value = 0, size = sizeof value;
    const LONG error = RegQueryValueExA(hSvc, pszValName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (error == ERROR_MORE_DATA || (error == ERROR_SUCCESS && (type != REG_DWORD || size != sizeof value)))
        return HRESULT_FROM_WIN32(ERROR_DATATYPE_MISMATCH);
    if (error == ERROR_SUCCESS) *pdwVal = value;
    return FromRegistry(error);
}

}  // extern "C"
