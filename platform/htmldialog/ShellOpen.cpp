#include "ShellOpen.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>

namespace vorlan {
namespace {

constexpr INT_PTR kOpened = 33;

// What the shell would find: a relative file is looked for in the folder.
bool FileIsThere(const std::string& file, const std::string& folder) {
    std::string path = file;
    if (PathIsRelativeA(file.c_str()) && !folder.empty())
        path = folder + (folder.back() == '\\' || folder.back() == '/' ? "" : "\\") + file;
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

INT_PTR Journal(const char* journal, const std::string& file, const std::string& folder) {
    FILE* out = std::fopen(journal, "ab");
    if (!out) return SE_ERR_ACCESSDENIED;
    std::string line = file + (folder.empty() ? "" : "\t" + folder) + "\n";
    bool written = std::fwrite(line.data(), 1, line.size(), out) == line.size();
    if (std::fclose(out) != 0 || !written) return SE_ERR_ACCESSDENIED;
    if (!PathIsURLA(file.c_str()) && !FileIsThere(file, folder)) return SE_ERR_FNF;
    return kOpened;
}

}  // namespace

INT_PTR ShellOpen(HWND owner, const char* verb, const std::string& file, const std::string& folder, int show) {
    char journal[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("VORLAN_SHELL_JOURNAL", journal, MAX_PATH);
    // A journal path that does not fit is not opened instead.
    if (length >= MAX_PATH) return SE_ERR_ACCESSDENIED;
    if (length > 0) return Journal(journal, file, folder);
    HINSTANCE result = ShellExecuteA(owner, verb, file.c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(),
                                     show);
    return reinterpret_cast<INT_PTR>(result);
}

bool ShellOpenLink(HWND owner, const std::string& address) {
    return ShellOpen(owner, "open", address, "", SW_SHOWNORMAL) > 32;
}

}  // namespace vorlan
