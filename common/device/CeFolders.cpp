#include "CeFolders.h"

#include <climits>
#include <cstring>
#include <cwchar>
#include <string>

#include "CeFolderNames.h"
#include "CeRapi.h"
#include "DeviceRegistry.h"
#include "ExactAnsi.h"

namespace vorlan {

namespace {

constexpr char kInstallDirPath[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Apps\\Dravenhall Vorlan\\InstallDir";

bool LookupDeviceFolder(int code, std::string& folder) {
    wchar_t path[MAX_PATH] = {};
    if (code == kCeInstallFolderCode) {
        DWORD size = sizeof path;
        if (GetDeviceInstallDir(path, &size) != ERROR_SUCCESS) return false;
    } else {
        DWORD n = CeGetSpecialFolderPath(code, MAX_PATH, path);
        if (n == 0 || n >= MAX_PATH) return false;
        path[n] = L'\0';
    }
    return ExactAnsiFromWide(path, folder);
}

}  // namespace

LONG GetDeviceInstallDir(wchar_t* buffer, DWORD* size) {
    if (!buffer || !size || *size < sizeof(wchar_t)) return -1;
    LONG r = CeRegReadString(kInstallDirPath, buffer, *size / sizeof(wchar_t));
    if (r != ERROR_SUCCESS) return r;
    const wchar_t* cut = buffer[0] ? std::wcschr(buffer + 1, L'\\') : nullptr;
    if (cut) buffer[cut - buffer] = L'\0';
    *size = static_cast<DWORD>((std::wcslen(buffer) + 1) * sizeof(wchar_t));
    return ERROR_SUCCESS;
}

int ExpandCeFolderVariables(const char* src, char* dst, DWORD size) {
    if (!src || !dst || size == 0) return 0;
    dst[0] = '\0';
    std::string built;
    if (!ExpandCeFolderNames(src, LookupDeviceFolder, built) || built.size() >= INT_MAX) return 0;
    if (built.size() < size) std::memcpy(dst, built.c_str(), built.size() + 1);
    return static_cast<int>(built.size() + 1);
}

}  // namespace vorlan
