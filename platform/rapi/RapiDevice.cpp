// Facts about the device, its programs, windows and shortcuts.
#include <algorithm>
#include <cstring>

#include "CeRapi.h"
#include "RapiSession.h"

using namespace vorlan::rapi;
using vorlan::device::Op;

namespace {

const char16_t* Text16(LPCWSTR text) { return reinterpret_cast<const char16_t*>(text); }

// Copies a text that fits (terminator included) and returns its length;
// a text that does not fit is not copied and 0 comes back.
DWORD CopyWhole(const std::u16string& text, DWORD capacity, LPWSTR buffer) {
    if (!buffer || text.size() + 1 > capacity) {
        SetThreadLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, text.data(), text.size() * 2);
    buffer[text.size()] = 0;
    return static_cast<DWORD>(text.size());
}

}  // namespace

RAPI_API void WINAPI CeGetSystemInfo(LPSYSTEM_INFO lpSystemInfo) {
    if (!lpSystemInfo) return;
    Call call(Op::GetSystemInfo);
    if (!call.Run()) return;
    auto& r = call.Out();
    SYSTEM_INFO info = {};
    info.wProcessorArchitecture = static_cast<WORD>(r.U32());
    info.dwPageSize = r.U32();
    info.lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(static_cast<uintptr_t>(r.U32()));
    info.lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(static_cast<uintptr_t>(r.U32()));
    info.dwActiveProcessorMask = r.U32();
    info.dwNumberOfProcessors = r.U32();
    info.dwProcessorType = r.U32();
    info.dwAllocationGranularity = r.U32();
    info.wProcessorLevel = static_cast<WORD>(r.U32());
    info.wProcessorRevision = static_cast<WORD>(r.U32());
    if (r.Ok()) *lpSystemInfo = info;
}

RAPI_API BOOL WINAPI CeGetVersionEx(LPCEOSVERSIONINFO lpVersionInformation) {
    if (!lpVersionInformation) {
        SetThreadLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Call call(Op::GetVersionEx);
    if (!call.Run() || !call.Out().U32()) return FALSE;
    auto& r = call.Out();
    CEOSVERSIONINFO info = {};
    info.dwOSVersionInfoSize = sizeof info;
    info.dwMajorVersion = r.U32();
    info.dwMinorVersion = r.U32();
    info.dwBuildNumber = r.U32();
    info.dwPlatformId = r.U32();
    std::u16string csd = r.Text();
    std::memcpy(info.szCSDVersion, csd.data(), std::min<size_t>(csd.size(), 127) * 2);
    *lpVersionInformation = info;
    return TRUE;
}

RAPI_API void WINAPI CeGlobalMemoryStatus(LPMEMORYSTATUS lpmst) {
    if (!lpmst) return;
    Call call(Op::GlobalMemoryStatus);
    if (!call.Run()) return;
    auto& r = call.Out();
    MEMORYSTATUS status = {};
    status.dwLength = sizeof status;
    status.dwMemoryLoad = r.U32();
    status.dwTotalPhys = r.U32();
    status.dwAvailPhys = r.U32();
    status.dwTotalPageFile = r.U32();
    status.dwAvailPageFile = r.U32();
    status.dwTotalVirtual = r.U32();
    status.dwAvailVirtual = r.U32();
    if (r.Ok()) *lpmst = status;
}

RAPI_API BOOL WINAPI CeGetStoreInformation(LPSTORE_INFORMATION lpsi) {
    if (!lpsi) {
        SetThreadLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Call call(Op::GetStoreInformation);
    if (!call.Run() || !call.Out().U32()) return FALSE;
    lpsi->dwStoreSize = call.Out().U32();
    lpsi->dwFreeSize = call.Out().U32();
    return TRUE;
}

RAPI_API DWORD WINAPI CeGetSpecialFolderPath(int nFolder, DWORD nBufferLength, LPWSTR lpBuffer) {
    Call call(Op::GetSpecialFolderPath);
    call.In().I32(nFolder);
    if (!call.Run()) return 0;
    std::u16string path = call.Out().Text();
    if (path.empty()) return 0;
    return CopyWhole(path, nBufferLength, lpBuffer);
}

RAPI_API DWORD WINAPI CeGetTempPath(DWORD nBufferLength, LPWSTR lpBuffer) {
    Call call(Op::GetTempPath);
    if (!call.Run()) return 0;
    std::u16string path = call.Out().Text();
    if (!lpBuffer || path.size() + 1 > nBufferLength) return static_cast<DWORD>(path.size() + 1);
    return CopyWhole(path, nBufferLength, lpBuffer);
}

RAPI_API int WINAPI CeGetSystemMetrics(int nIndex) {
    Call call(Op::GetSystemMetrics);
    call.In().I32(nIndex);
    if (!call.Run()) return 0;
    return call.Out().I32();
}

RAPI_API BOOL WINAPI CeCreateProcess(LPCWSTR lpApplicationName, LPCWSTR lpCommandLine, LPSECURITY_ATTRIBUTES,
                                     LPSECURITY_ATTRIBUTES, BOOL, DWORD dwCreationFlags, LPVOID, LPWSTR,
                                     LPSTARTUPINFOW, LPPROCESS_INFORMATION lpProcessInformation) {
    Call call(Op::CreateProcess);
    call.In().Text(Text16(lpApplicationName));
    call.In().Text(Text16(lpCommandLine));
    call.In().U32(dwCreationFlags);
    if (!call.Run() || !call.Out().U32()) return FALSE;
    PROCESS_INFORMATION info = {};
    info.hProcess = FromDevice<HANDLE>(call.Out().U32());
    info.hThread = FromDevice<HANDLE>(call.Out().U32());
    info.dwProcessId = call.Out().U32();
    info.dwThreadId = call.Out().U32();
    if (lpProcessInformation)
        *lpProcessInformation = info;
    else {
        CeCloseHandle(info.hProcess);
        CeCloseHandle(info.hThread);
    }
    return TRUE;
}

RAPI_API HWND WINAPI CeGetWindow(HWND hWnd, UINT uCmd) {
    Call call(Op::GetWindow);
    call.In().U32(ToDevice(hWnd));
    call.In().U32(uCmd);
    if (!call.Run()) return nullptr;
    return FromDevice<HWND>(call.Out().U32());
}

RAPI_API LONG WINAPI CeGetWindowLong(HWND hWnd, int nIndex) {
    Call call(Op::GetWindowLong);
    call.In().U32(ToDevice(hWnd));
    call.In().I32(nIndex);
    if (!call.Run()) return 0;
    return call.Out().I32();
}

namespace {
int WindowText(Op op, HWND hWnd, LPWSTR buffer, int capacity) {
    if (!buffer || capacity <= 0) return 0;
    buffer[0] = 0;
    Call call(op);
    call.In().U32(ToDevice(hWnd));
    if (!call.Run()) return 0;
    std::u16string text = call.Out().Text();
    size_t n = std::min<size_t>(text.size(), static_cast<size_t>(capacity) - 1);
    std::memcpy(buffer, text.data(), n * 2);
    buffer[n] = 0;
    return static_cast<int>(n);
}
}  // namespace

RAPI_API int WINAPI CeGetWindowText(HWND hWnd, LPWSTR lpString, int nMaxCount) {
    return WindowText(Op::GetWindowText, hWnd, lpString, nMaxCount);
}

RAPI_API int WINAPI CeGetClassName(HWND hWnd, LPWSTR lpClassName, int nMaxCount) {
    return WindowText(Op::GetClassName, hWnd, lpClassName, nMaxCount);
}

RAPI_API DWORD WINAPI CeSHCreateShortcut(LPWSTR lpszShortcut, LPWSTR lpszTarget) {
    Call call(Op::SHCreateShortcut);
    call.In().Text(Text16(lpszShortcut));
    call.In().Text(Text16(lpszTarget));
    if (!call.Run()) return FALSE;
    return call.Out().U32();
}
