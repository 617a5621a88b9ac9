#include "ShellOpen.h"

#include <shellapi.h>

#include <cstdio>

namespace vorlan {

bool ShellOpenLink(HWND owner, const std::string& address) {
    char journal[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("VORLAN_SHELL_JOURNAL", journal, MAX_PATH);
    if (length >= MAX_PATH) return false;  // a journal path that does not fit is not opened instead
    if (length > 0) {
        FILE* file = std::fopen(journal, "ab");
        if (!file) return false;
        bool written = std::fprintf(file, "%s\n", address.c_str()) > 0;
        return std::fclose(file) == 0 && written;
    }
    HINSTANCE result = ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace vorlan
