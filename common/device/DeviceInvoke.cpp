#include "DeviceInvoke.h"

#include <cstring>
#include <cwchar>

#include "CeRapi.h"

namespace vorlan {

HRESULT InvokeDeviceLibrary(const wchar_t* function, const void* input, DWORD inputSize, std::vector<BYTE>* output) {
    if (output) output->clear();
    BYTE* block = nullptr;
    if (inputSize > 0) {
        block = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, inputSize));
        if (!block) return E_OUTOFMEMORY;
        std::memcpy(block, input, inputSize);
    }
    DWORD outputSize = 0;
    BYTE* answer = nullptr;
    HRESULT hr = CeRapiInvoke(L"Ostrum", function, inputSize, block, &outputSize, &answer, nullptr, 0);
    if (answer) {
        if (output) output->assign(answer, answer + outputSize);
        CeRapiFreeBuffer(answer);
    }
    return hr;
}

HRESULT RegisterDeviceDll(const wchar_t* path, BOOL bRegister) {
    if (!path) return E_POINTER;
    size_t bytes = (std::wcslen(path) + 1) * sizeof(wchar_t);
    if (bytes > MAXDWORD) return E_INVALIDARG;
    return InvokeDeviceLibrary(bRegister ? L"RegisterDll" : L"UnregisterDll", path, static_cast<DWORD>(bytes));
}

}  // namespace vorlan
