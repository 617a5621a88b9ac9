#include "QvDualFileSystem.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <utility>
#include <vector>

#include "Bstr.h"
#include "CeFolders.h"
#include "DeviceInvoke.h"
#include "ExpandEnvironment.h"
#include "FindRecord.h"
#include "FolderLevels.h"
#include "PathSafety.h"
#include "Url.h"

namespace vorlan {

namespace {

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_TEMPORARY;
constexpr DWORD kDeviceWriteChunk = 0x40000;
constexpr DWORD kDesktopWriteChunk = 0x200000;
constexpr size_t kResolveLimit = 1024;
// Device error of a file that is gone from its store, counted as deleted.
constexpr DWORD kDeviceFileGone = 0x12390;

// A file handle of one side, closed through that side.
class SideHandle {
public:
    SideHandle(CQvCERapiWrapper& side, HANDLE h) : side_(side), h_(h) {}
    ~SideHandle() { Close(); }
    SideHandle(const SideHandle&) = delete;
    SideHandle& operator=(const SideHandle&) = delete;
    bool Valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    void Reset(HANDLE h) {
        Close();
        h_ = h;
    }
    bool Close() {
        if (!Valid()) return true;
        return side_.CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE)) != FALSE;
    }

private:
    CQvCERapiWrapper& side_;
    HANDLE h_;
};

HRESULT FromError(DWORD error) { return error ? HRESULT_FROM_WIN32(error) : E_FAIL; }

HRESULT OpenFailure(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return STG_E_FILENOTFOUND;
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return STG_E_SHAREVIOLATION;
    default:
        return E_HANDLE;
    }
}

bool IsAbsent(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

bool IsDotEntry(const wchar_t* name) { return !std::wcscmp(name, L".") || !std::wcscmp(name, L".."); }

// A whole file is written beside its target under these names and moved
// over it, so a write that fails leaves the old content.
const wchar_t kNewFileSuffix[] = L".vorlan-new";
const wchar_t kOldFileSuffix[] = L".vorlan-old";

// Deletes a file of the side, read-only or not; one already gone is no error.
bool RemoveSideFile(CQvCERapiWrapper& side, const std::wstring& path) {
    side.SetFileAttributes(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return side.DeleteFile(path.c_str()) || IsAbsent(side.GetLastError());
}

HRESULT WriteNewSideFile(CQvCERapiWrapper& side, const wchar_t* path, const char* buffer, DWORD size,
                         FILETIME creation, FILETIME lastAccess, FILETIME lastWrite, DWORD attributes) {
    auto create = [&] { return side.CreateFile(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr); };
    SideHandle file(side, create());
    // One left read-only by an interrupted write blocks the creation.
    if (!file.Valid() && RemoveSideFile(side, path)) file.Reset(create());
    if (!file.Valid()) return FromError(side.GetLastError());
    const DWORD chunk = side.IsDevice() ? kDeviceWriteChunk : kDesktopWriteChunk;
    for (DWORD done = 0; done < size;) {
        DWORD piece = std::min(chunk, size - done), written = 0;
        if (!side.WriteFile(file.Get(), buffer + done, piece, &written, nullptr) || written != piece) return E_FAIL;
        done += piece;
    }
    if (!side.SetFileTime(file.Get(), &creation, &lastAccess, &lastWrite)) return E_FAIL;
    return file.Close() ? S_OK : E_FAIL;
}

// Puts the written file in the target's place. The desktop replaces in one
// move. The device's move never replaces, so its old file is moved aside
// first, put back when the new one cannot take its place, and deleted last.
HRESULT MoveOver(CQvCERapiWrapper& side, const std::wstring& written, const wchar_t* target, bool hadOld) {
    if (!side.IsDevice())
        return MoveFileExW(written.c_str(), target, MOVEFILE_REPLACE_EXISTING) ? S_OK : FromError(::GetLastError());
    if (!hadOld) return side.MoveFile(written.c_str(), target) ? S_OK : FromError(side.GetLastError());
    const std::wstring old = std::wstring(target) + kOldFileSuffix;
    // An old copy left by an interrupted write blocks the first move.
    if (!side.MoveFile(target, old.c_str()) &&
        (!RemoveSideFile(side, old) || !side.MoveFile(target, old.c_str())))
        return FromError(side.GetLastError());
    if (!side.MoveFile(written.c_str(), target)) {
        HRESULT hr = FromError(side.GetLastError());
        side.MoveFile(old.c_str(), target);
        return hr;
    }
    // Not read-only: WriteWholeFile replaces no read-only file.
    return side.DeleteFile(old.c_str()) ? S_OK : FromError(side.GetLastError());
}

}  // namespace

void CQvDualFileSystem::SetDevice(BOOL bDevice) { SetWrapper(std::make_unique<CQvCERapiWrapper>(bDevice)); }

void CQvDualFileSystem::SetWrapper(std::unique_ptr<CQvCERapiWrapper> wrapper) {
    wrapper_ = std::move(wrapper);
    listingError_ = 0;
}

BOOL CQvDualFileSystem::IsDevice() const { return wrapper_ ? wrapper_->IsDevice() : FALSE; }

DWORD CQvDualFileSystem::GetLastError() const {
    if (listingError_) return listingError_;
    return wrapper_ ? wrapper_->GetLastError() : ERROR_INVALID_HANDLE;
}

CQvCERapiWrapper* CQvDualFileSystem::Side() {
    listingError_ = 0;
    return wrapper_.get();
}

HANDLE CQvDualFileSystem::FindFirstFile(const char* pattern, WIN32_FIND_DATAA* data) {
    CQvCERapiWrapper* side = Side();
    if (!pattern || !data || !side) return nullptr;
    if (!side->IsDevice()) return ::FindFirstFileA(pattern, data);
    CE_FIND_DATA record;
    HANDLE find = CeFindFirstFile(com::WideFromAnsi(pattern).c_str(), &record);
    if (find == INVALID_HANDLE_VALUE || !find) return find;
    if (!AnsiFindRecord(record, *data, &listingError_)) {
        side->FindClose(find);
        return INVALID_HANDLE_VALUE;
    }
    return find;
}

BOOL CQvDualFileSystem::FindNextFile(HANDLE find, WIN32_FIND_DATAA* data) {
    CQvCERapiWrapper* side = Side();
    if (!find || !data || !side) return FALSE;
    if (!side->IsDevice()) return ::FindNextFileA(find, data);
    CE_FIND_DATA record;
    return CeFindNextFile(find, &record) && AnsiFindRecord(record, *data, &listingError_);
}

BOOL CQvDualFileSystem::FindClose(HANDLE find) {
    CQvCERapiWrapper* side = Side();
    if (!find || !side) return FALSE;
    return side->FindClose(find);
}

HRESULT CQvDualFileSystem::GetLastWriteTime(const wchar_t* path, FILETIME* lastWrite) {
    CQvCERapiWrapper* side = Side();
    if (!side) return E_UNEXPECTED;
    if (!path || !lastWrite) return E_POINTER;
    SideHandle file(*side, side->CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return E_FAIL;
    if (!side->GetFileTime(file.Get(), nullptr, nullptr, lastWrite)) return E_FAIL;
    return S_OK;
}

bool CQvDualFileSystem::FolderExists(const wchar_t* path) {
    DWORD attributes = wrapper_->GetFileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

HRESULT CQvDualFileSystem::CreateFolder(const wchar_t* path) {
    CQvCERapiWrapper* side = Side();
    if (!side) return E_UNEXPECTED;
    if (!path) return E_POINTER;
    if (side->CreateDirectory(path, nullptr)) return S_OK;
    // An existing folder, or one we may not create but that is there (a
    // drive's root), is what was asked for; a file of that name is not.
    DWORD error = side->GetLastError();
    if ((error == 0 || error == ERROR_ACCESS_DENIED || error == ERROR_ALREADY_EXISTS) && FolderExists(path))
        return S_OK;
    return E_FAIL;
}

HRESULT CQvDualFileSystem::CreateFolderPath(const wchar_t* path) {
    if (!wrapper_) return E_UNEXPECTED;
    if (!path) return E_POINTER;
    std::vector<std::wstring> levels = FolderLevels(path, IsDevice() != FALSE);
    if (levels.empty()) return E_INVALIDARG;
    for (const std::wstring& level : levels)
        if (HRESULT hr = CreateFolder(level.c_str()); FAILED(hr)) return hr;
    return S_OK;
}

HRESULT CQvDualFileSystem::ExpandPath(const char* src, char* dst, DWORD size) {
    if (!wrapper_) return E_UNEXPECTED;
    if (!src || !dst) return E_POINTER;
    if (size == 0) return E_INVALIDARG;
    dst[0] = '\0';
    if (IsDevice()) {
        int needed = ExpandCeFolderVariables(src, dst, size);
        return needed > 0 && static_cast<DWORD>(needed) <= size ? S_OK : E_FAIL;
    }
    std::string expanded;
    if (!ExpandEnvironment(src, expanded, size)) return E_FAIL;
    std::memcpy(dst, expanded.c_str(), expanded.size() + 1);
    return S_OK;
}

HRESULT CQvDualFileSystem::ResolvePath(const char* parentUrl, const char* path, char* out, DWORD outSize,
                                       BOOL flag) {
    if (!wrapper_) return E_UNEXPECTED;
    if (!path || !out) return E_POINTER;
    if (outSize == 0) return E_INVALIDARG;
    out[0] = '\0';
    std::string text = path;
    if (text.empty()) return E_INVALIDARG;
    if (text.size() >= kResolveLimit) return E_FAIL;
    if (text[0] != '%' && !IsDevice() && parentUrl &&
        (!flag || GetUrlServiceType(parentUrl) == kUrlServiceFile)) {
        std::string combined;
        if (SUCCEEDED(CombineUrl(text.c_str(), parentUrl, &combined))) {
            if (combined.size() >= kResolveLimit) return E_FAIL;
            text = std::move(combined);
        }
    }
    if (HRESULT hr = ExpandPath(text.c_str(), out, outSize); FAILED(hr)) return hr;
    return out[0] ? S_OK : E_FAIL;
}

HRESULT CQvDualFileSystem::ReadWholeFile(const wchar_t* path, FILETIME* lastWrite, char** buffer,
                                         DWORD* attributes, DWORD* size, FILETIME* creation, FILETIME* lastAccess) {
    CQvCERapiWrapper* side = Side();
    if (!side) return E_UNEXPECTED;
    if (!path || !lastWrite || !buffer || !attributes || !size) return E_POINTER;
    *buffer = nullptr;
    *size = 0;
    SideHandle file(*side, side->CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return OpenFailure(side->GetLastError());
    if (!side->GetFileTime(file.Get(), creation, lastAccess, lastWrite)) return FromError(side->GetLastError());
    DWORD high = 0;
    DWORD length = side->GetFileSize(file.Get(), &high);
    if (length == INVALID_FILE_SIZE && side->GetLastError() != NO_ERROR) return FromError(side->GetLastError());
    if (high != 0 || length == MAXDWORD) return E_OUTOFMEMORY;

    std::unique_ptr<char, decltype(&std::free)> bytes(static_cast<char*>(std::malloc(size_t{length} + 1)), std::free);
    if (!bytes) return E_OUTOFMEMORY;
    for (DWORD done = 0; done < length;) {
        DWORD got = 0;
        if (!side->ReadFile(file.Get(), bytes.get() + done, length - done, &got, nullptr))
            return FromError(side->GetLastError());
        if (got == 0) return HRESULT_FROM_WIN32(ERROR_HANDLE_EOF);  // shorter than its size said
        done += got;
    }
    bytes.get()[length] = '\0';
    file.Close();

    DWORD found = side->GetFileAttributes(path);
    if (found == INVALID_FILE_ATTRIBUTES) return FromError(side->GetLastError());
    *attributes = found & kKeptAttributes;
    *size = length;
    *buffer = bytes.release();
    return S_OK;
}

HRESULT CQvDualFileSystem::WriteWholeFile(const wchar_t* path, const char* buffer, DWORD size, FILETIME creation,
                                          FILETIME lastAccess, FILETIME lastWrite, DWORD attributes) {
    CQvCERapiWrapper* side = Side();
    if (!side) return E_UNEXPECTED;
    if (!path || (!buffer && size)) return E_POINTER;
    // What could not be created over is not replaced either.
    DWORD existing = side->GetFileAttributes(path);
    bool hadOld = existing != INVALID_FILE_ATTRIBUTES;
    if (!hadOld && !IsAbsent(side->GetLastError())) return FromError(side->GetLastError());
    if (hadOld && (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);

    const std::wstring temporary = std::wstring(path) + kNewFileSuffix;
    HRESULT hr = WriteNewSideFile(*side, temporary.c_str(), buffer, size, creation, lastAccess, lastWrite, attributes);
    if (SUCCEEDED(hr)) hr = MoveOver(*side, temporary, path, hadOld);
    if (FAILED(hr)) RemoveSideFile(*side, temporary);
    return hr;
}

HRESULT CQvDualFileSystem::DeleteFile(const wchar_t* path) {
    if (!wrapper_) return E_UNEXPECTED;
    if (!path) return E_POINTER;
    if (IsRootOrEmptyPath(String16View(path))) return E_INVALIDARG;
    RegisterDll(path, FALSE);  // nothing to unregister for most files
    CQvCERapiWrapper* side = Side();
    if (!side->IsDevice()) return DeleteLocal(path);
    if (side->DeleteFile(path)) return S_OK;
    DWORD error = side->GetLastError();
    return IsAbsent(error) || error == kDeviceFileGone ? S_OK : E_FAIL;
}

HRESULT CQvDualFileSystem::EmptyDeviceFolder(const std::wstring& folder) {
    DWORD count = 0;
    LPCE_FIND_DATA entries = nullptr;
    if (!CeFindAllFiles((folder + L"\\*").c_str(), FAF_ATTRIBUTES | FAF_NAME, &count, &entries)) return E_FAIL;
    HRESULT result = S_OK;
    for (DWORD i = 0; i < count; ++i) {
        const CE_FIND_DATA& entry = entries[i];
        const wchar_t* name = entry.cFileName;
        if (wcsnlen(name, MAX_PATH) == MAX_PATH || IsDotEntry(name)) continue;
        std::wstring child = folder + L"\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            EmptyDeviceFolder(child);  // what stays makes the removal fail
            if (!Side()->RemoveDirectory(child.c_str())) result = E_FAIL;
        } else if (HRESULT hr = DeleteFile(child.c_str()); FAILED(hr)) {
            result = hr;
        }
    }
    CeRapiFreeBuffer(entries);
    return result;
}

HRESULT CQvDualFileSystem::RemoveFolder(const wchar_t* path) {
    CQvCERapiWrapper* side = Side();
    if (!side) return E_UNEXPECTED;
    if (!path) return E_POINTER;
    if (IsRootOrEmptyPath(String16View(path))) return E_INVALIDARG;
    if (!side->IsDevice()) return DeleteLocal(path);
    std::wstring folder = path;
    while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    EmptyDeviceFolder(folder);
    side = Side();
    if (side->RemoveDirectory(folder.c_str())) return S_OK;
    return IsAbsent(side->GetLastError()) ? S_OK : E_FAIL;
}

HRESULT CQvDualFileSystem::DeleteLocal(const wchar_t* path) {
    if (!path) return E_POINTER;
    if (IsRootOrEmptyPath(String16View(path)) || std::wcspbrk(path, L"*?")) return E_INVALIDARG;
    // The recycle bin wants the full path; one that does not fit its
    // buffer is refused, since a cut one names another item.
    wchar_t from[MAX_PATH + 1] = {};
    DWORD n = GetFullPathNameW(path, MAX_PATH, from, nullptr);
    if (n == 0) return FromError(::GetLastError());
    if (n >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    if (IsRootOrEmptyPath(String16View(from))) return E_INVALIDARG;
    if (GetFileAttributesW(from) == INVALID_FILE_ATTRIBUTES && IsAbsent(::GetLastError())) return S_OK;
    from[n + 1] = L'\0';  // the list of paths ends with an empty one
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from;
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    int result = SHFileOperationW(&operation);
    return (result == 0 || result == 1026) && !operation.fAnyOperationsAborted ? S_OK : E_FAIL;
}

HRESULT CQvDualFileSystem::RegisterDll(const wchar_t* path, BOOL bRegister) {
    if (!wrapper_) return E_UNEXPECTED;
    if (!path) return E_POINTER;
    if (IsDevice()) return RegisterDeviceDll(path, bRegister);
    // Only the file the path names is loaded: a bare name would be looked
    // for along the search path, and another DLL of that name run.
    wchar_t full[MAX_PATH];
    DWORD n = GetFullPathNameW(path, MAX_PATH, full, nullptr);
    if (n == 0) return FromError(::GetLastError());
    if (n >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    DWORD attributes = GetFileAttributesW(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return S_FALSE;
    UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryExW(full, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    SetErrorMode(mode);
    if (!module) return S_FALSE;
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto entry = reinterpret_cast<Entry>(GetProcAddress(module, bRegister ? "DllRegisterServer" : "DllUnregisterServer"));
    if (entry) entry();
    FreeLibrary(module);
    return entry ? S_OK : S_FALSE;
}

}  // namespace vorlan
