#pragma once
// Files and folders on either side of the connection through one set of
// operations: switched to the device (over the remote API) or to the
// desktop, the same calls copy, read, write, delete, create and remove on
// that side. Paths are UTF-16 unless marked ANSI; the engines' own ANSI
// texts are converted where they come in.
//
// Removals never take a root: deleting, removing or emptying "", "\",
// "\\", "X:\" (and the same reached through "..") is refused with
// E_INVALIDARG and nothing is touched.
#include <windows.h>

#include <memory>
#include <string>

#include "CeRapiWrapper.h"

namespace vorlan {

class CQvDualFileSystem {
public:
    CQvDualFileSystem() = default;
    CQvDualFileSystem(const CQvDualFileSystem&) = delete;
    CQvDualFileSystem& operator=(const CQvDualFileSystem&) = delete;

    // Switches to the device (bDevice non-zero) or the desktop. Must come
    // before any other call; until then the operations fail with
    // E_UNEXPECTED (or a null handle, or FALSE).
    void SetDevice(BOOL bDevice);
    // Switches to the side that the table serves, for a table with some
    // entries replaced (to watch or to fail calls, for instance).
    void SetWrapper(std::unique_ptr<CQvCERapiWrapper> wrapper);
    BOOL IsDevice() const;
    // The side's last error (the device's for the device), or the error of
    // a listing entry whose name has no ANSI form that fits.
    DWORD GetLastError() const;

    // Listings with ANSI records. A handle belongs to the side that was
    // current when it was opened. A null argument gives a null handle (and
    // FALSE for the next entry). An entry whose name cannot be given in the
    // ANSI code page within MAX_PATH ends the listing with an error
    // (ERROR_FILENAME_EXCED_RANGE or ERROR_NO_UNICODE_TRANSLATION) rather
    // than naming another file.
    HANDLE FindFirstFile(const char* pattern, WIN32_FIND_DATAA* data);
    BOOL FindNextFile(HANDLE find, WIN32_FIND_DATAA* data);
    BOOL FindClose(HANDLE find);

    HRESULT GetLastWriteTime(const wchar_t* path, FILETIME* lastWrite);
    // S_OK when the folder exists afterwards.
    HRESULT CreateFolder(const wchar_t* path);
    // Creates every missing level of the path (FolderLevels.h), outermost
    // first; the first failure is returned. E_INVALIDARG for a path with no
    // folder in it.
    HRESULT CreateFolderPath(const wchar_t* path);
    // ANSI src into dst (size bytes): environment variables on the desktop,
    // symbolic device folders on the device. E_FAIL, with dst "", when the
    // expansion fails or does not fit.
    HRESULT ExpandPath(const char* src, char* dst, DWORD size);
    // An item path made absolute and expanded, in ANSI: on the desktop a
    // path that does not begin with "%" is combined with the parent URL
    // when the parent is a file URL or when flag is 0; then ExpandPath.
    // E_FAIL, with out "", when the combination does not fit 1024
    // characters, the expansion fails or does not fit, or a path becomes
    // empty; E_INVALIDARG for an empty path.
    HRESULT ResolvePath(const char* parentUrl, const char* path, char* out, DWORD outSize, BOOL flag);

    // The whole file in a buffer of *size + 1 bytes (terminated with a NUL
    // after the content) that the caller frees with free(); its last-write
    // time (and, when asked, its other times) and its attributes masked
    // with read-only, hidden, system, archive, normal and temporary. Open
    // failures: STG_E_FILENOTFOUND (errors 2, 3), STG_E_SHAREVIOLATION (4,
    // 5, 32), E_HANDLE (others); E_OUTOFMEMORY for 4 GB or more. A read
    // that fails or ends early is a failure and hands out nothing.
    HRESULT ReadWholeFile(const wchar_t* path, FILETIME* lastWrite, char** buffer, DWORD* attributes, DWORD* size,
                          FILETIME* creation = nullptr, FILETIME* lastAccess = nullptr);
    // Makes the buffer the file's content, with the attributes and the three
    // times: it is written in pieces (256 KB on the device, 2 MB on the
    // desktop) to path + ".vorlan-new", which is then moved over the file
    // (on the device the old file is moved to path + ".vorlan-old" first,
    // and deleted once the new one is in place). Any failure leaves the old
    // file as it was and removes the new one: a read-only file or a folder
    // is not replaced (ERROR_ACCESS_DENIED); a file that cannot be created
    // or moved gives its error; a failed or short write, or times that
    // cannot be set, give E_FAIL. Should the old copy not be deleted at the
    // end, the new content is in place and the deletion's error returned.
    HRESULT WriteWholeFile(const wchar_t* path, const char* buffer, DWORD size, FILETIME creation,
                           FILETIME lastAccess, FILETIME lastWrite, DWORD attributes);

    // Unregisters the file if it is a self-registering DLL, then deletes it:
    // on the device directly, on the desktop to the recycle bin. A file
    // already absent counts as deleted.
    HRESULT DeleteFile(const wchar_t* path);
    // Deletes a folder with everything in it (on the device innermost
    // first, DLLs unregistered; on the desktop to the recycle bin). A folder
    // already absent counts as removed.
    HRESULT RemoveFolder(const wchar_t* path);
    // Desktop deletion to the recycle bin of a file or a folder with its
    // contents. A path of MAX_PATH characters or more is refused, never
    // cut short; a path that does not exist is S_OK; wildcards are
    // refused (E_INVALIDARG), so one path deletes one item.
    HRESULT DeleteLocal(const wchar_t* path);
    // Calls DllRegisterServer (bRegister non-zero) or DllUnregisterServer
    // of the DLL on the current side. Desktop: the path is made absolute
    // first (against the current folder), so only that file is loaded, and
    // a file that is not there is not loaded at all; S_OK when the entry was
    // called (its own result is not looked at), S_FALSE when the file is
    // missing, does not load or lacks the entry; ERROR_FILENAME_EXCED_RANGE
    // for a full path of MAX_PATH characters or more. Device: the
    // transport's result (RegisterDeviceDll).
    HRESULT RegisterDll(const wchar_t* path, BOOL bRegister);

private:
    // The current table; every call through it clears the listing error.
    CQvCERapiWrapper* Side();
    HRESULT EmptyDeviceFolder(const std::wstring& folder);
    bool FolderExists(const wchar_t* path);

    std::unique_ptr<CQvCERapiWrapper> wrapper_;
    DWORD listingError_ = 0;
};

}  // namespace vorlan
