// Files and folders of the device, below its root folder.
#include "Device.h"
#include "Exports.h"

using namespace vorlan::device;

namespace {

constexpr DWORD kDeviceAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL |
                                    FILE_ATTRIBUTE_TEMPORARY;
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_TEMPORARY;
constexpr DWORD kWriteAccess = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE;
constexpr DWORD kDeviceFlags = FILE_FLAG_WRITE_THROUGH | FILE_FLAG_RANDOM_ACCESS | FILE_FLAG_SEQUENTIAL_SCAN;

bool IsRoot(const HostPath& p) { return p.device == u"\\"; }

// Makes a file that is not there yet. A name the host cannot see may still be
// a link that leads nowhere, and creating through it would make the file
// wherever the link points, outside the root too; CREATE_NEW never follows a
// link, and such a link fails with 5 like any link that leaves the root. A
// name that someone made in the meantime fails with ERROR_FILE_EXISTS.
HANDLE CreateNewFile(const std::wstring& host, DWORD access, DWORD share, DWORD flags) {
    HANDLE h = CreateFileW(host.c_str(), access, share, nullptr, CREATE_NEW, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS &&
        GetFileAttributesW(host.c_str()) == INVALID_FILE_ATTRIBUTES)
        SetLastError(ERROR_ACCESS_DENIED);
    return h;
}

HANDLE CreateDeviceFile(LPCWSTR name, DWORD access, DWORD share, DWORD disposition, DWORD flags, bool again) {
    HostPath p;
    if (!Device::Get().MapOrFail(name, p)) return INVALID_HANDLE_VALUE;
    DWORD existing = GetFileAttributesW(p.host.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES) {
        // The host gives directories and, for its administrator, read-only
        // files to writers; the device does not.
        bool writes = (access & kWriteAccess) || disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
        if ((existing & FILE_ATTRIBUTE_DIRECTORY) || ((existing & FILE_ATTRIBUTE_READONLY) && writes)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
    }
    DWORD hostFlags = (flags & kDeviceFlags) | (flags & kSettableAttributes);
    bool makes = existing == INVALID_FILE_ATTRIBUTES && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    HANDLE h = makes ? CreateNewFile(p.host, access, share, hostFlags)
                     : CreateFileW(p.host.c_str(), access, share, nullptr, disposition, hostFlags, nullptr);
    if (h == INVALID_HANDLE_VALUE && makes && GetLastError() == ERROR_FILE_EXISTS && !again)
        return CreateDeviceFile(name, access, share, disposition, flags, true);  // made meanwhile: look again
    if (h != INVALID_HANDLE_VALUE && existing == INVALID_FILE_ATTRIBUTES) Device::Get().ForgetOid(p.device);
    return h;
}

}  // namespace

DWORD DeviceAttributes(DWORD hostAttributes) {
    if (hostAttributes == INVALID_FILE_ATTRIBUTES) return hostAttributes;
    DWORD attributes = hostAttributes & kDeviceAttributes;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

extern "C" HANDLE WINAPI Device_CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                                            DWORD disposition, DWORD flags, HANDLE) {
    return CreateDeviceFile(name, access, share, disposition, flags, false);
}

extern "C" HANDLE WINAPI Device_CreateFileForMappingW(LPCWSTR name, DWORD access, DWORD share,
                                                      LPSECURITY_ATTRIBUTES sa, DWORD disposition, DWORD flags,
                                                      HANDLE templateFile) {
    return Device_CreateFileW(name, access, share, sa, disposition, flags, templateFile);
}

extern "C" DWORD WINAPI Device_GetFileAttributesW(LPCWSTR name) {
    HostPath p;
    if (!Device::Get().MapOrFail(name, p)) return INVALID_FILE_ATTRIBUTES;
    if (IsRoot(p)) return FILE_ATTRIBUTE_DIRECTORY;
    return DeviceAttributes(GetFileAttributesW(p.host.c_str()));
}

extern "C" BOOL WINAPI Device_SetFileAttributesW(LPCWSTR name, DWORD attributes) {
    HostPath p;
    if (!Device::Get().MapOrFail(name, p)) return FALSE;
    if (IsRoot(p)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return SetFileAttributesW(p.host.c_str(), attributes & kSettableAttributes);
}

extern "C" BOOL WINAPI Device_CreateDirectoryW(LPCWSTR name, LPSECURITY_ATTRIBUTES) {
    HostPath p;
    if (!Device::Get().MapOrFail(name, p)) return FALSE;
    if (IsRoot(p)) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (!CreateDirectoryW(p.host.c_str(), nullptr)) return FALSE;
    Device::Get().ForgetOid(p.device, true);
    return TRUE;
}

extern "C" BOOL WINAPI Device_RemoveDirectoryW(LPCWSTR name) {
    HostPath p;
    if (!Device::Get().MapOrFail(name, p)) return FALSE;
    if (IsRoot(p)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!RemoveDirectoryW(p.host.c_str())) return FALSE;
    Device::Get().ForgetOid(p.device, true);
    return TRUE;
}

extern "C" BOOL WINAPI Device_DeleteFileW(LPCWSTR name) {
    HostPath p;
    if (!Device::Get().MapOrFail(name, p)) return FALSE;
    DWORD attributes = GetFileAttributesW(p.host.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!DeleteFileW(p.host.c_str())) return FALSE;
    Device::Get().ForgetOid(p.device);
    return TRUE;
}

extern "C" BOOL WINAPI Device_MoveFileW(LPCWSTR from, LPCWSTR to) {
    HostPath a, b;
    if (!Device::Get().MapOrFail(from, a) || !Device::Get().MapOrFail(to, b)) return FALSE;
    if (IsRoot(a) || IsRoot(b)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!MoveFileW(a.host.c_str(), b.host.c_str())) return FALSE;
    Device::Get().MoveOids(a.device, b.device);
    return TRUE;
}

extern "C" BOOL WINAPI Device_CopyFileW(LPCWSTR from, LPCWSTR to, BOOL failIfExists) {
    HostPath a, b;
    if (!Device::Get().MapOrFail(from, a) || !Device::Get().MapOrFail(to, b)) return FALSE;
    DWORD target = GetFileAttributesW(b.host.c_str());
    if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_READONLY) && !failIfExists) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DWORD source = GetFileAttributesW(a.host.c_str());
    bool made = false;
    if (target == INVALID_FILE_ATTRIBUTES && source != INVALID_FILE_ATTRIBUTES) {
        // The host's copy would create its target through a link; it is made here instead.
        HANDLE h = CreateNewFile(b.host, GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            made = true;
        } else if (GetLastError() != ERROR_FILE_EXISTS || failIfExists) {
            return FALSE;
        }
    }
    if (!CopyFileW(a.host.c_str(), b.host.c_str(), made ? FALSE : failIfExists)) {
        DWORD error = GetLastError();
        if (made) DeleteFileW(b.host.c_str());
        SetLastError(error);
        return FALSE;
    }
    // Over a file that was there the host keeps that file's attributes; the
    // copy has the source's.
    DWORD attributes = source & kSettableAttributes;
    return SetFileAttributesW(b.host.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}
