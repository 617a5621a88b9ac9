// The session and the invoke call into device libraries.
#include <cstring>

#include "CeRapi.h"
#include "RapiSession.h"

using namespace vorlan::rapi;
using vorlan::device::Op;

RAPI_API HRESULT WINAPI CeRapiInitEx(RAPIINIT* pRapiInit) {
    if (!pRapiInit || pRapiInit->cbSize != sizeof(RAPIINIT)) return E_INVALIDARG;
    // The result is known now: the event fires only once the device answers.
    pRapiInit->hrRapiInit = S_OK;
    return InitSession(&pRapiInit->heRapiInit);
}

RAPI_API HRESULT WINAPI CeRapiInit(void) {
    RAPIINIT init = {sizeof init, nullptr, S_OK};
    HRESULT hr = CeRapiInitEx(&init);
    if (FAILED(hr)) return hr;
    // The blocking form waits as long as the device takes.
    WaitForSingleObject(init.heRapiInit, INFINITE);
    return init.hrRapiInit;
}

RAPI_API HRESULT WINAPI CeRapiUninit(void) { return UninitSession(); }

RAPI_API HRESULT WINAPI CeRapiGetError(void) { return LastTransportError(); }

RAPI_API HRESULT WINAPI CeRapiFreeBuffer(LPVOID Buffer) {
    if (Buffer) LocalFree(Buffer);
    return S_OK;
}

RAPI_API DWORD WINAPI CeGetLastError(void) { return ThreadLastError(); }

RAPI_API HRESULT WINAPI CeRapiInvoke(LPCWSTR pDllPath, LPCWSTR pFunctionName, DWORD cbInput, BYTE* pInput,
                                     DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream** ppIRAPIStream, DWORD) {
    struct InputOwner {
        BYTE* block;
        ~InputOwner() {
            if (block) LocalFree(block);
        }
    } owner{pInput};
    if (pcbOutput) *pcbOutput = 0;
    if (ppOutput) *ppOutput = nullptr;
    if (ppIRAPIStream) return E_NOTIMPL;  // only block mode is offered
    if (!pDllPath || !pFunctionName || (cbInput && !pInput)) return E_INVALIDARG;
    if (cbInput > vorlan::device::kDataChunk) return E_INVALIDARG;
    Call call(Op::Invoke);
    call.In().Text(reinterpret_cast<const char16_t*>(pDllPath));
    call.In().Text(reinterpret_cast<const char16_t*>(pFunctionName));
    call.In().Bytes(pInput, cbInput);
    if (!call.Run()) return LastTransportError();
    HRESULT hr = static_cast<HRESULT>(call.Out().U32());
    auto output = call.Out().Bytes();
    if (!call.Out().Ok()) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    if (!output.empty() && ppOutput) {
        auto* block = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, output.size()));
        if (!block) return E_OUTOFMEMORY;
        std::memcpy(block, output.data(), output.size());
        *ppOutput = block;
        if (pcbOutput) *pcbOutput = static_cast<DWORD>(output.size());
    }
    return hr;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_THREAD_DETACH) ReleaseThread();
    return TRUE;
}
