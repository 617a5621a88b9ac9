#include "TwoWaySyncData.h"

#include "CeDeviceInfo.h"
#include "ExpandEnvironment.h"
#include "TwoWayStateName.h"

namespace vorlan {

HRESULT GetTwoWaySyncDataPath(std::string& path) {
    path.clear();
    // Without the device's own name the file would be some other device's,
    // or one that all unnamed devices share.
    CCeDeviceInfo device;
    HRESULT hr = device.Init();
    if (FAILED(hr)) return hr;
    std::string name;
    hr = device.ReadDeviceName(name);
    if (FAILED(hr)) return hr;
    std::string file;
    if (!TwoWayStateFileName(name, file)) return E_FAIL;

    std::string folder;
    // An undefined variable stays as written; it must not become a folder.
    if (!ExpandEnvironment("%APPDATA%", folder, MAX_PATH) || folder.empty() || folder == "%APPDATA%")
        return E_FAIL;
    for (const char* level : {"\\Dravenhall", "\\Vorlan"}) {
        folder += level;
        if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return HRESULT_FROM_WIN32(GetLastError());
    }
    std::string full = folder + "\\" + file;
    if (full.size() >= MAX_PATH) return E_FAIL;
    path = std::move(full);
    return S_OK;
}

HRESULT DeleteTwoWaySyncData() {
    std::string path;
    const HRESULT hr = GetTwoWaySyncDataPath(path);
    if (FAILED(hr)) return hr;
    if (DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return S_OK;
    return E_FAIL;
}

}  // namespace vorlan
