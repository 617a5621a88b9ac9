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

}  // namespace

DWORD DeviceAttributes(DWORD hostAttributes) {
    if (hostAttributes == INVALID_FILE_ATTRIBUTES) return hostAttributes;
    DWORD attributes = hostAttributes & kDeviceAttributes;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

extern "C" HANDLE WINAPI Device_CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                                            DWORD disposition, DWORD flags, HANDLE) {
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
    HANDLE h = CreateFileW(p.host.c_str(), access, share, nullptr, disposition, hostFlags, nullptr);
    if (h != INVALID_HANDLE_VALUE && existing == INVALID_FILE_ATTRIBUTES) Device::Get().ForgetOid(p.device);
    return h;
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
    return CopyFileW(a.host.c_str(), b.host.c_str(), failIfExists);
}
