// Facts about the device, from its profile.
#include <cstring>

#include "Device.h"

using namespace vorlan::device;

namespace {

BOOL CopyPath(const std::u16string& path, LPWSTR buffer, DWORD capacity) {
    if (path.size() + 1 > capacity) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(buffer, path.data(), path.size() * 2);
    buffer[path.size()] = 0;
    return TRUE;
}

}  // namespace

extern "C" void WINAPI Device_GetSystemInfo(LPSYSTEM_INFO info) {
    if (!info) return;
    const DeviceProfile& p = Device::Get().Profile();
    std::memset(info, 0, sizeof *info);
    info->wProcessorArchitecture = static_cast<WORD>(p.processorArchitecture);
    info->dwPageSize = p.pageSize;
    info->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(0x10000);
    info->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(0x7FFFFFFF);
    info->dwActiveProcessorMask = (p.processorCount >= 32) ? 0xFFFFFFFF : ((1u << p.processorCount) - 1);
    info->dwNumberOfProcessors = p.processorCount;
    info->dwProcessorType = p.processorType;
    info->dwAllocationGranularity = 0x10000;
    info->wProcessorLevel = static_cast<WORD>(p.processorLevel);
    info->wProcessorRevision = static_cast<WORD>(p.processorRevision);
}

extern "C" void WINAPI Device_GlobalMemoryStatus(LPMEMORYSTATUS status) {
    if (!status) return;
    const DeviceProfile& p = Device::Get().Profile();
    status->dwLength = sizeof *status;
    status->dwMemoryLoad = p.memoryLoad;
    status->dwTotalPhys = p.totalPhys;
    status->dwAvailPhys = p.availPhys;
    status->dwTotalPageFile = p.totalPageFile;
    status->dwAvailPageFile = p.availPageFile;
    status->dwTotalVirtual = p.totalVirtual;
    status->dwAvailVirtual = p.availVirtual;
}

extern "C" BOOL WINAPI Device_GetVersionExW(LPOSVERSIONINFOW info) {
    if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DeviceProfile& p = Device::Get().Profile();
    info->dwMajorVersion = p.osMajor;
    info->dwMinorVersion = p.osMinor;
    info->dwBuildNumber = p.osBuild;
    info->dwPlatformId = p.platformId;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    std::memcpy(info->szCSDVersion, p.csdVersion.data(), std::min<size_t>(p.csdVersion.size(), 127) * 2);
    return TRUE;
}

extern "C" BOOL WINAPI Device_GetStoreInformation(LPSTORE_INFORMATION info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->dwStoreSize = Device::Get().Profile().storeSize;
    info->dwFreeSize = Device::Get().Profile().freeSize;
    return TRUE;
}

extern "C" BOOL WINAPI Device_SHGetSpecialFolderPath(HWND, LPWSTR path, int folder, BOOL create) {
    if (!path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto& folders = Device::Get().Profile().folders;
    auto it = folders.find(folder);
    if (it == folders.end()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (create) {
        HostPath p = Device::Get().Map(W(it->second));
        if (!p.error) CreateDirectoryW(p.host.c_str(), nullptr);
    }
    return CopyPath(it->second, path, MAX_PATH);
}

extern "C" DWORD WINAPI Device_GetTempPathW(DWORD capacity, LPWSTR buffer) {
    const std::u16string& path = Device::Get().Profile().tempPath;
    if (!buffer || path.size() + 1 > capacity) return static_cast<DWORD>(path.size() + 1);
    CopyPath(path, buffer, capacity);
    return static_cast<DWORD>(path.size());
}

extern "C" int WINAPI Device_GetSystemMetrics(int index) {
    const DeviceProfile& p = Device::Get().Profile();
    switch (index) {
        case SM_CXSCREEN: return p.screenWidth;
        case SM_CYSCREEN: return p.screenHeight;
        default: return 0;
    }
}
