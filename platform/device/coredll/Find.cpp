// Folder listings with the device's rules: no "." or "..", and a search
// that finds nothing ends with ERROR_NO_MORE_FILES. Entries carry object
// identifiers.
#include <cstring>
#include <mutex>
#include <set>

#include "Coredll.h"
#include "Device.h"
#include "Exports.h"

using namespace vorlan::device;

namespace {

struct Search {
    HANDLE host;
    std::u16string folder;  // device path of the folder searched
};

std::mutex searchesLock;
std::set<Search*> searches;

bool IsDots(const WIN32_FIND_DATAW& d) {
    return (d.cFileName[0] == L'.' && d.cFileName[1] == 0) ||
           (d.cFileName[0] == L'.' && d.cFileName[1] == L'.' && d.cFileName[2] == 0);
}

std::u16string Child(const std::u16string& folder, const wchar_t* name) {
    std::u16string path = folder;
    if (path.back() != u'\\') path += u'\\';
    path += reinterpret_cast<const char16_t*>(name);
    return path;
}

void ToDevice(const Search& s, WIN32_FIND_DATAW& d) {
    d.dwFileAttributes = DeviceAttributes(d.dwFileAttributes);
    d.dwReserved0 = Device::Get().OidOf(Child(s.folder, d.cFileName));
    d.dwReserved1 = 0;
    d.cAlternateFileName[0] = 0;
}

// The next entry that is not "." or ".."; false at the end of the folder.
bool NextEntry(Search& s, WIN32_FIND_DATAW& d, bool haveFirst) {
    if (haveFirst && !IsDots(d)) return true;
    while (FindNextFileW(s.host, &d))
        if (!IsDots(d)) return true;
    return false;
}

Search* Lookup(HANDLE h) {
    std::lock_guard<std::mutex> guard(searchesLock);
    auto* s = static_cast<Search*>(h);
    return searches.count(s) ? s : nullptr;
}

}  // namespace

extern "C" HANDLE WINAPI Device_FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data) {
    HostPath p;
    if (!Device::Get().MapOrFail(pattern, p, PathUse::Pattern)) return INVALID_HANDLE_VALUE;
    if (!data) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    WIN32_FIND_DATAW d;
    HANDLE host = FindFirstFileW(p.host.c_str(), &d);
    if (host == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        SetLastError(error == ERROR_FILE_NOT_FOUND ? ERROR_NO_MORE_FILES : error);
        return INVALID_HANDLE_VALUE;
    }
    auto* s = new Search{host, p.device.substr(0, std::max<size_t>(1, p.device.find_last_of(u'\\')))};
    if (!NextEntry(*s, d, true)) {
        FindClose(host);
        delete s;
        SetLastError(ERROR_NO_MORE_FILES);
        return INVALID_HANDLE_VALUE;
    }
    ToDevice(*s, d);
    *data = d;
    std::lock_guard<std::mutex> guard(searchesLock);
    searches.insert(s);
    return s;
}

extern "C" BOOL WINAPI Device_FindNextFileW(HANDLE h, WIN32_FIND_DATAW* data) {
    Search* s = Lookup(h);
    if (!s || !data) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    WIN32_FIND_DATAW d;
    if (!NextEntry(*s, d, false)) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    ToDevice(*s, d);
    *data = d;
    return TRUE;
}

extern "C" BOOL WINAPI Device_FindClose(HANDLE h) {
    Search* s;
    {
        std::lock_guard<std::mutex> guard(searchesLock);
        s = static_cast<Search*>(h);
        if (!searches.erase(s)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
    }
    FindClose(s->host);
    delete s;
    Device::Get().Flush();
    return TRUE;
}

extern "C" BOOL WINAPI Device_CeOidGetInfo(CEOID oid, CEOIDINFO* info) {
    std::u16string path;
    if (!info || !Device::Get().PathOfOid(oid, path)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HostPath p = Device::Get().Map(W(path));
    WIN32_FILE_ATTRIBUTE_DATA a;
    if (p.error || !GetFileAttributesExW(p.host.c_str(), GetFileExInfoStandard, &a)) {
        Device::Get().ForgetOid(path, true);
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::memset(info, 0, sizeof *info);
    size_t cut = path.find_last_of(u'\\');
    std::u16string parent = cut == 0 ? u"" : path.substr(0, cut);
    CEOID parentOid = parent.empty() ? 0 : Device::Get().OidOf(parent);
    size_t n = std::min<size_t>(path.size(), MAX_PATH - 1);
    if (a.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        info->wObjType = OBJTYPE_DIRECTORY;
        info->infDirectory.dwAttributes = DeviceAttributes(a.dwFileAttributes);
        info->infDirectory.oidParent = parentOid;
        std::memcpy(info->infDirectory.szDirName, path.data(), n * 2);
    } else {
        info->wObjType = OBJTYPE_FILE;
        info->infFile.dwAttributes = DeviceAttributes(a.dwFileAttributes);
        info->infFile.oidParent = parentOid;
        std::memcpy(info->infFile.szFileName, path.data(), n * 2);
        info->infFile.ftLastChanged = a.ftLastWriteTime;
        info->infFile.dwLength = a.nFileSizeLow;
    }
    return TRUE;
}
