// Opening the device and the controls the emulator uses.
#include <mutex>

#include "Device.h"
#include "DeviceControl.h"

using namespace vorlan::device;

namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableW(name, buffer, MAX_PATH * 2);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(buffer, n) : std::wstring();
}

// A device program started by the emulator finds its device in the
// environment the emulator passed on.
void OpenFromEnvironment() {
    static std::once_flag once;
    std::call_once(once, [] {
        std::wstring root = Environment(L"VORLAN_DEVICE_ROOT");
        if (!root.empty() && !Device::Get().IsOpen())
            Device::Get().Open(root, Environment(L"VORLAN_DEVICE_STATE"), Environment(L"VORLAN_DEVICE_PROFILE"),
                               false);
    });
}

}  // namespace

extern "C" BOOL WINAPI DeviceOpen(LPCWSTR root, LPCWSTR state, LPCWSTR profile, BOOL primary) {
    if (!root || !state) return FALSE;
    if (!Device::Get().Open(root, state, profile ? profile : L"", primary != FALSE)) return FALSE;
    if (primary) Provision(Device::Get().Profile());
    return TRUE;
}

extern "C" void WINAPI DeviceFlush(void) { Device::Get().Flush(); }

extern "C" BOOL WINAPI DeviceJournal(const char* line, DWORD size) {
    if (!line) return FALSE;
    return Device::Get().Journal(std::string(line, size));
}

extern "C" BOOL WINAPI DeviceSetUnreadable(LPCWSTR devicePath, BOOL unreadable) {
    if (!devicePath) return FALSE;
    ResolvedPath resolved = ResolveDevicePath(U16(devicePath));
    if (resolved.error) return FALSE;
    Device::Get().SetUnreadable(resolved.DevicePath(), unreadable != FALSE);
    return TRUE;
}

extern "C" void WINAPI DeviceQueueMessageBoxAnswer(int answer) { Device::Get().QueueAnswer(answer); }

extern "C" void WINAPI DeviceRootCheckTime(ULONGLONG* nanoseconds, ULONGLONG* checks) {
    uint64_t ticks = 0, count = 0;
    Device::Get().RootCheckTime(ticks, count);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    if (nanoseconds) *nanoseconds = static_cast<ULONGLONG>(static_cast<double>(ticks) * 1e9 / frequency.QuadPart);
    if (checks) *checks = count;
}

extern "C" BOOL WINAPI DeviceHostPath(LPCWSTR devicePath, LPWSTR hostPath, DWORD capacity) {
    HostPath p;
    if (!Device::Get().MapOrFail(devicePath, p)) return FALSE;
    if (!hostPath || p.host.size() + 1 > capacity) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    p.host.copy(hostPath, p.host.size());
    hostPath[p.host.size()] = 0;
    return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) Device::Get().Flush();
    return TRUE;
}

namespace vorlan::device {
void EnsureOpen() { OpenFromEnvironment(); }
}  // namespace vorlan::device
