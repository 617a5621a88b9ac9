#include "FolderPairs.h"

#include <map>
#include <set>
#include <string>

#include "Bstr.h"
#include "CeRapi.h"

namespace vorlan::conflicts {
namespace {

bool IsDesktopFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDeviceFolder(const std::wstring& path) {
    const DWORD attributes = CeGetFileAttributes(path.c_str());
    return attributes != 0xFFFFFFFF && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The device compares names without regard to case.
std::wstring Folded(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The names of the folders inside folder, folded; false when the device
// could not list it (a folder that is not there among the reasons).
bool ListFolders(const std::wstring& folder, std::set<std::wstring>& names) {
    DWORD count = 0;
    LPCE_FIND_DATA found = nullptr;
    if (!CeFindAllFiles((folder + L"\\*").c_str(), FAF_NAME | FAF_ATTRIBUTES | FAF_FOLDERS_ONLY, &count, &found))
        return false;
    for (DWORD i = 0; i < count; ++i)
        if (found[i].dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            names.insert(Folded(std::wstring(found[i].cFileName, wcsnlen(found[i].cFileName, MAX_PATH))));
    if (found) CeRapiFreeBuffer(found);
    return true;
}

}  // namespace

bool IsFolderPair(const Conflict& pair) {
    return IsDesktopFolder(pair.desktop) || IsDeviceFolder(com::WideFromAnsi(pair.device));
}

std::vector<bool> FindFolderPairs(const std::vector<Conflict>& pairs) {
    std::vector<bool> folders(pairs.size(), false);
    // Pairs by the folder their device path lies in (folded), with the
    // path's last name.
    std::map<std::wstring, std::pair<std::wstring, std::vector<std::pair<size_t, std::wstring>>>> byFolder;
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (IsDesktopFolder(pairs[i].desktop)) {
            folders[i] = true;
            continue;
        }
        const std::wstring device = com::WideFromAnsi(pairs[i].device);
        const size_t cut = device.find_last_of(L'\\');
        // A path the listing cannot answer for is asked about on its own.
        if (cut == std::wstring::npos || cut + 1 == device.size() ||
            device.find_first_of(L"*?") != std::wstring::npos) {
            folders[i] = IsDeviceFolder(device);
            continue;
        }
        const std::wstring folder = device.substr(0, cut);
        auto& group = byFolder[Folded(folder)];
        group.first = folder;
        group.second.emplace_back(i, Folded(device.substr(cut + 1)));
    }
    for (const auto& [key, group] : byFolder) {
        std::set<std::wstring> names;
        if (ListFolders(group.first, names)) {
            for (const auto& [row, name] : group.second) folders[row] = names.count(name) > 0;
        } else if (CeGetFileAttributes(group.first.c_str()) != 0xFFFFFFFF) {
            for (const auto& [row, name] : group.second)
                folders[row] = IsDeviceFolder(com::WideFromAnsi(pairs[row].device));
        }  // else no folder to hold them: none is a folder
    }
    return folders;
}

}  // namespace vorlan::conflicts
