#include "ShellOpen.h"

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

namespace vorlan {

bool ShellOpenLink(HWND owner, const std::string& address) {
    if (const char* journal = std::getenv("VORLAN_SHELL_JOURNAL"); journal && *journal) {
        FILE* file = std::fopen(journal, "ab");
        if (!file) return false;
        bool written = std::fprintf(file, "%s\n", address.c_str()) > 0;
        return std::fclose(file) == 0 && written;
    }
    HINSTANCE result = ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace vorlan
