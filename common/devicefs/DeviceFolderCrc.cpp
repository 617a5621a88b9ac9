// The folder value over the system's search functions. The device lists no
// "." and ".." and fails an empty folder with error 18; the desktop lists
// "." and ".." in every folder. Both come out as the same listing here.
#include <vector>

#include "DeviceFileCrc.h"
#include "DeviceHandle.h"
#include "FolderCrc.h"

namespace vorlan::devicefs {
namespace {

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

class SystemFolderTree : public FolderTree {
public:
    int32_t List(const String16& folder, std::vector<FolderEntry>& entries) override {
        WIN32_FIND_DATAW entry;
        FindHandle search(FindFirstFileW((folder + L"\\*.*").c_str(), &entry));
        if (!search.Valid()) return GetLastError() == ERROR_NO_MORE_FILES ? S_OK : E_FAIL;
        do {
            if (!IsDotEntry(entry.cFileName))
                entries.push_back({entry.cFileName, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        } while (FindNextFileW(search.Get(), &entry));
        return GetLastError() == ERROR_NO_MORE_FILES ? S_OK : E_FAIL;
    }

    int32_t FileCrc(const String16& file, bool quick, uint32_t& crc) override {
        DWORD value = 0;
        HRESULT hr = DeviceCalcFileCrc32(file.c_str(), &value, quick);
        crc = value;
        return hr;
    }
};

}  // namespace

HRESULT DeviceCalcFolderCrc32(const wchar_t* path, DWORD* crc, BOOL quick) {
    if (!path || !crc) return E_INVALIDARG;
    SystemFolderTree tree;
    uint32_t value = *crc;
    HRESULT hr = CombineFolderCrc32(tree, path, quick != FALSE, value);
    *crc = value;
    return hr;
}

}  // namespace vorlan::devicefs
