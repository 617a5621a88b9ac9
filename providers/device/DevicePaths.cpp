#include "DevicePaths.h"

#include <cwchar>
#include <vector>

namespace vorlan::zephrin {

std::wstring TopFolder(std::wstring_view installDir) {
    const size_t cut = installDir.size() > 1 ? installDir.find(L'\\', 1) : std::wstring_view::npos;
    return std::wstring(installDir.substr(0, cut));
}

bool ComposeVorlanPath(std::wstring_view top, const wchar_t* name, wchar_t (&path)[MAX_PATH]) {
    const std::wstring full = std::wstring(top) + L"\\dravenhall\\Vorlan\\" + name;
    path[0] = 0;
    if (full.size() >= MAX_PATH) return false;  // a shorter path would name another file
    std::wmemcpy(path, full.c_str(), full.size() + 1);
    return true;
}

std::wstring ReadInstallDir() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Dravenhall Vorlan", 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        return {};
    DWORD type = 0, size = 0;
    std::wstring value;
    if (RegQueryValueExW(key, L"InstallDir", nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        // Its real size, and a terminator of our own whatever it holds.
        std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, 0);
        DWORD room = size;
        if (RegQueryValueExW(key, L"InstallDir", nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &room) ==
                ERROR_SUCCESS &&
            room <= size)
            value = text.data();
    }
    RegCloseKey(key);
    return value;
}

bool DataFilePath(wchar_t (&path)[MAX_PATH]) { return ComposeVorlanPath(TopFolder(ReadInstallDir()), L"Vorlan.txt", path); }
bool StateFilePath(wchar_t (&path)[MAX_PATH]) { return ComposeVorlanPath(TopFolder(ReadInstallDir()), L"Vorlan.dat", path); }

}  // namespace vorlan::zephrin
