#include "QuickGuide.h"

#include <cstring>

#include "ComModule.h"
#include "ModuleState.h"
#include "ShellOpen.h"

namespace vorlan::install {

std::string InstallFolderFrom(LONG result, DWORD type, const char* data, DWORD size, DWORD capacity) {
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || size > capacity)
        return kDefaultInstallFolder;
    const size_t length = strnlen(data, size);
    // Unterminated and filling the buffer: there is no room for the end.
    if (length == size && size == capacity) return kDefaultInstallFolder;
    if (length == 0) return kDefaultInstallFolder;
    return std::string(data, length);
}

std::string ReadInstallFolder() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Dravenhall\\Vorlan", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return kDefaultInstallFolder;
    char folder[MAX_PATH];
    DWORD type = REG_NONE, size = sizeof folder;
    LONG result = RegQueryValueExA(key, "InstallDir", nullptr, &type, reinterpret_cast<BYTE*>(folder), &size);
    RegCloseKey(key);
    return InstallFolderFrom(result, type, folder, size, sizeof folder);
}

}  // namespace vorlan::install

extern "C" int __cdecl LaunchQuickGuide() {
    vorlan::ModuleStateGuard state(vorlan::com::ComModule::Instance().Handle());
    const std::string folder = vorlan::install::ReadInstallFolder();
    return static_cast<int>(
        vorlan::ShellOpen(nullptr, nullptr, vorlan::install::kGuideFile, folder, SW_SHOWNORMAL));
}
