// The device half of ActiveSync installed as the installation installs it:
// the provider and the replication service in \Windows, the provider
// registered by its own DllRegisterServer, called through Ostrum.
#include <cstring>

#include "CeRapi.h"
#include "DeviceEmulator.h"

namespace vorlan::testing {

bool DeviceEmulator::InstallZephrin() const {
    if (!InstallOstrum() || !Install(BuildPath(VORLAN_ZEPHRIN), L"\\Windows\\Zephrin.dll") ||
        !Install(BuildPath(VORLAN_REPL_SERVICE), L"\\Windows\\ReplService.dll"))
        return false;
    RapiSession session;
    if (!session.Connected()) return false;
    static const wchar_t kPath[] = L"\\Windows\\Zephrin.dll";
    BYTE* input = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, sizeof kPath));
    if (!input) return false;
    std::memcpy(input, kPath, sizeof kPath);
    DWORD size = 0;
    BYTE* output = nullptr;
    const HRESULT hr = CeRapiInvoke(L"Ostrum", L"RegisterDll", sizeof kPath, input, &size, &output, nullptr, 0);
    DWORD result = 1;
    if (output && size >= 4) std::memcpy(&result, output, 4);
    CeRapiFreeBuffer(output);
    return SUCCEEDED(hr) && result == 0;
}

}  // namespace vorlan::testing
