// Answers to the desktop's file and folder requests.
#include <algorithm>
#include <cstring>

#include "CeRapi.h"
#include "DeviceCalls.h"
#include "Handlers.h"

namespace vorlan::device {

namespace {

constexpr DWORD kHasChildren = 0x00010000;
constexpr uint32_t kInvalid = 0xFFFFFFFFu;

void PutFindData(WireWriter& out, const WIN32_FIND_DATAW& d, DWORD flags = 0xFFFFFFFF) {
    CE_FIND_DATA record = {};
    if (flags & FAF_ATTRIBUTES) record.dwFileAttributes = d.dwFileAttributes;
    if (flags & FAF_CREATION_TIME) record.ftCreationTime = d.ftCreationTime;
    if (flags & FAF_LASTACCESS_TIME) record.ftLastAccessTime = d.ftLastAccessTime;
    if (flags & FAF_LASTWRITE_TIME) record.ftLastWriteTime = d.ftLastWriteTime;
    if (flags & FAF_SIZE_HIGH) record.nFileSizeHigh = d.nFileSizeHigh;
    if (flags & FAF_SIZE_LOW) record.nFileSizeLow = d.nFileSizeLow;
    if (flags & FAF_OID) record.dwOID = FindDataOid(d);
    if (flags & FAF_NAME) std::memcpy(record.cFileName, d.cFileName, sizeof record.cFileName);
    out.Raw(&record, sizeof record);
}

void PutTime(WireWriter& out, const FILETIME& t) {
    out.U32(t.dwLowDateTime);
    out.U32(t.dwHighDateTime);
}

// A time field: present flag, then the value.
bool TakeTime(WireReader& in, FILETIME& t) {
    bool present = in.U32() != 0;
    t.dwLowDateTime = in.U32();
    t.dwHighDateTime = in.U32();
    return present;
}

bool TakeFile(Request& r, HANDLE& h) {
    uint32_t id = r.in.U32();
    if (!r.in.Done()) return false;
    if (!r.session.Find(id, DeviceHandle::File, h)) {
        r.error = ERROR_INVALID_HANDLE;
        return false;
    }
    return true;
}

bool HasEntries(const std::u16string& folder) {
    std::u16string pattern = folder + u"\\*";
    WIN32_FIND_DATAW d;
    HANDLE h = Ce.FindFirstFileW(reinterpret_cast<LPCWSTR>(pattern.c_str()), &d);
    if (h == INVALID_HANDLE_VALUE) return false;
    Ce.FindClose(h);
    return true;
}

}  // namespace

void OnCreateFile(Request& r) {
    Text16 name(r.in);
    DWORD access = r.in.U32(), share = r.in.U32(), disposition = r.in.U32(), flags = r.in.U32();
    if (!r.in.Done()) return;
    HANDLE h = Ce.CreateFileW(name, access, share, nullptr, disposition, flags, nullptr);
    r.error = GetLastError();
    r.out.U32(h == INVALID_HANDLE_VALUE ? kInvalid : r.session.Add(DeviceHandle::File, h));
}

void OnReadFile(Request& r) {
    uint32_t id = r.in.U32(), want = r.in.U32();
    if (!r.in.Done()) return;
    if (want > kDataChunk) {
        r.malformed = true;  // no desktop asks for more than a chunk at once
        return;
    }
    HANDLE h;
    size_t at = r.out.Size();
    r.out.U32(0);
    r.out.U32(0);
    if (!r.session.Find(id, DeviceHandle::File, h)) {
        r.error = ERROR_INVALID_HANDLE;
        return;
    }
    uint8_t* data = r.out.Reserve(want);
    DWORD got = 0;
    BOOL ok = ReadFile(h, data, want, &got, nullptr);
    r.error = GetLastError();
    r.out.Truncate(at + 8 + got);
    r.out.PatchU32(at, ok);
    r.out.PatchU32(at + 4, got);
}

void OnWriteFile(Request& r) {
    uint32_t id = r.in.U32();
    auto data = r.in.Bytes(kDataChunk);
    if (!r.in.Done()) return;
    HANDLE h;
    if (!r.session.Find(id, DeviceHandle::File, h)) {
        r.error = ERROR_INVALID_HANDLE;
        r.out.U32(FALSE);
        r.out.U32(0);
        return;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    r.error = GetLastError();
    r.out.U32(ok);
    r.out.U32(written);
}

void OnCloseHandle(Request& r) {
    uint32_t id = r.in.U32();
    if (!r.in.Done()) return;
    bool ok = r.session.Close(id);
    r.error = ok ? 0 : ERROR_INVALID_HANDLE;
    r.out.U32(ok);
}

void OnGetFileSize(Request& r) {
    HANDLE h;
    DWORD low = INVALID_FILE_SIZE, high = 0;
    if (TakeFile(r, h)) {
        low = GetFileSize(h, &high);
        r.error = GetLastError();
    }
    r.out.U32(low);
    r.out.U32(high);
}

void OnSetFilePointer(Request& r) {
    uint32_t id = r.in.U32();
    LONG distance = r.in.I32();
    bool hasHigh = r.in.U32() != 0;
    LONG high = r.in.I32();
    DWORD method = r.in.U32();
    if (!r.in.Done()) return;
    HANDLE h;
    DWORD low = INVALID_SET_FILE_POINTER;
    if (!r.session.Find(id, DeviceHandle::File, h)) {
        r.error = ERROR_INVALID_HANDLE;
    } else {
        low = SetFilePointer(h, distance, hasHigh ? &high : nullptr, method);
        r.error = GetLastError();
    }
    r.out.U32(low);
    r.out.I32(high);
}

void OnSetEndOfFile(Request& r) {
    HANDLE h;
    BOOL ok = FALSE;
    if (TakeFile(r, h)) {
        ok = SetEndOfFile(h);
        r.error = GetLastError();
    }
    r.out.U32(ok);
}

void OnGetFileTime(Request& r) {
    HANDLE h;
    FILETIME c = {}, a = {}, w = {};
    BOOL ok = FALSE;
    if (TakeFile(r, h)) {
        ok = GetFileTime(h, &c, &a, &w);
        r.error = GetLastError();
    }
    r.out.U32(ok);
    PutTime(r.out, c);
    PutTime(r.out, a);
    PutTime(r.out, w);
}

void OnSetFileTime(Request& r) {
    uint32_t id = r.in.U32();
    FILETIME c, a, w;
    bool hc = TakeTime(r.in, c), ha = TakeTime(r.in, a), hw = TakeTime(r.in, w);
    if (!r.in.Done()) return;
    HANDLE h;
    BOOL ok = FALSE;
    if (!r.session.Find(id, DeviceHandle::File, h)) {
        r.error = ERROR_INVALID_HANDLE;
    } else {
        ok = SetFileTime(h, hc ? &c : nullptr, ha ? &a : nullptr, hw ? &w : nullptr);
        r.error = GetLastError();
    }
    r.out.U32(ok);
}

void OnGetFileAttributes(Request& r) {
    Text16 name(r.in);
    if (!r.in.Done()) return;
    DWORD attributes = Ce.GetFileAttributesW(name);
    r.error = GetLastError();
    r.out.U32(attributes);
}

void OnSetFileAttributes(Request& r) {
    Text16 name(r.in);
    DWORD attributes = r.in.U32();
    if (!r.in.Done()) return;
    BOOL ok = Ce.SetFileAttributesW(name, attributes);
    r.error = GetLastError();
    r.out.U32(ok);
}

template <auto Call>
void OnPathCall(Request& r) {
    Text16 name(r.in);
    if (!r.in.Done()) return;
    BOOL ok = (Ce.*Call)(name);
    r.error = GetLastError();
    r.out.U32(ok);
}

void OnCreateDirectory(Request& r) {
    Text16 name(r.in);
    if (!r.in.Done()) return;
    BOOL ok = Ce.CreateDirectoryW(name, nullptr);
    r.error = GetLastError();
    r.out.U32(ok);
}

void OnRemoveDirectory(Request& r) { OnPathCall<&DeviceCalls::RemoveDirectoryW>(r); }
void OnDeleteFile(Request& r) { OnPathCall<&DeviceCalls::DeleteFileW>(r); }

void OnMoveFile(Request& r) {
    Text16 from(r.in), to(r.in);
    if (!r.in.Done()) return;
    BOOL ok = Ce.MoveFileW(from, to);
    r.error = GetLastError();
    r.out.U32(ok);
}

void OnCopyFile(Request& r) {
    Text16 from(r.in), to(r.in);
    BOOL failIfExists = r.in.U32();
    if (!r.in.Done()) return;
    BOOL ok = Ce.CopyFileW(from, to, failIfExists);
    r.error = GetLastError();
    r.out.U32(ok);
}

void OnFindFirstFile(Request& r) {
    Text16 pattern(r.in);
    if (!r.in.Done()) return;
    WIN32_FIND_DATAW d;
    HANDLE h = Ce.FindFirstFileW(pattern, &d);
    r.error = GetLastError();
    if (h == INVALID_HANDLE_VALUE) {
        r.out.U32(kInvalid);
        return;
    }
    r.out.U32(r.session.Add(DeviceHandle::Search, h));
    PutFindData(r.out, d);
}

void OnFindNextFile(Request& r) {
    uint32_t id = r.in.U32();
    if (!r.in.Done()) return;
    HANDLE h;
    WIN32_FIND_DATAW d;
    if (!r.session.Find(id, DeviceHandle::Search, h)) {
        r.error = ERROR_INVALID_HANDLE;
        r.out.U32(FALSE);
        return;
    }
    BOOL ok = Ce.FindNextFileW(h, &d);
    r.error = GetLastError();
    r.out.U32(ok);
    if (ok) PutFindData(r.out, d);
}

void OnFindClose(Request& r) {
    uint32_t id = r.in.U32();
    if (!r.in.Done()) return;
    HANDLE h;
    bool ok = r.session.Find(id, DeviceHandle::Search, h) && r.session.Close(id);
    r.error = ok ? 0 : ERROR_INVALID_HANDLE;
    r.out.U32(ok);
}

void OnFindAllFiles(Request& r) {
    Text16 pattern(r.in);
    DWORD flags = r.in.U32();
    uint32_t start = r.in.U32();
    if (!r.in.Done()) return;
    constexpr uint32_t kPage = (kMaxFrameBody - 64) / sizeof(CE_FIND_DATA);
    WIN32_FIND_DATAW d;
    HANDLE h = Ce.FindFirstFileW(pattern, &d);
    if (h == INVALID_HANDLE_VALUE) {
        r.error = GetLastError();
        bool empty = r.error == ERROR_NO_MORE_FILES;  // an empty folder lists nothing, and that is fine
        r.out.U32(empty);
        r.out.U32(0);
        r.out.U32(0);
        return;
    }
    std::u16string folder = pattern.Value();
    size_t cut = folder.find_last_of(u"\\/");
    folder.resize(cut == std::u16string::npos ? 0 : cut);
    size_t at = r.out.Size();
    r.out.U32(TRUE);
    r.out.U32(0);
    r.out.U32(0);
    uint32_t index = 0, count = 0;
    bool more = false;
    do {
        bool folderEntry = d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if ((flags & FAF_FOLDERS_ONLY) && !folderEntry) continue;
        if ((flags & FAF_ATTRIB_NO_HIDDEN) && (d.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
        if ((flags & FAF_NO_HIDDEN_SYS_ROMMODULES) &&
            (d.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            continue;
        if (index++ < start) continue;
        if (count == kPage) {
            more = true;
            break;
        }
        if ((flags & FAF_ATTRIB_CHILDREN) && folderEntry &&
            HasEntries(folder + u"\\" + reinterpret_cast<const char16_t*>(d.cFileName)))
            d.dwFileAttributes |= kHasChildren;
        PutFindData(r.out, d, flags);
        ++count;
    } while (Ce.FindNextFileW(h, &d));
    Ce.FindClose(h);
    r.error = 0;
    r.out.PatchU32(at + 4, count);
    r.out.PatchU32(at + 8, more);
}

void OnOidGetInfo(Request& r) {
    CEOID oid = r.in.U32();
    if (!r.in.Done()) return;
    CEOIDINFO info;
    BOOL ok = Ce.CeOidGetInfo(oid, &info);
    r.error = GetLastError();
    r.out.U32(ok);
    if (!ok) return;
    r.out.U32(info.wObjType);
    if (info.wObjType == OBJTYPE_FILE) {
        r.out.U32(info.infFile.dwAttributes);
        r.out.U32(info.infFile.oidParent);
        r.out.Text(reinterpret_cast<const char16_t*>(info.infFile.szFileName));
        PutTime(r.out, info.infFile.ftLastChanged);
        r.out.U32(info.infFile.dwLength);
    } else {
        r.out.U32(info.infDirectory.dwAttributes);
        r.out.U32(info.infDirectory.oidParent);
        r.out.Text(reinterpret_cast<const char16_t*>(info.infDirectory.szDirName));
    }
}

}  // namespace vorlan::device
