#include "DeviceSession.h"

#include "CeRapi.h"

namespace vorlan {

HRESULT RapiInit(DWORD timeoutMs, bool* opened) {
    RAPIINIT init = {};
    init.cbSize = sizeof init;
    HRESULT hr = CeRapiInitEx(&init);
    if (opened) *opened = SUCCEEDED(hr);
    if (FAILED(hr)) return hr;
    DWORD wait = WaitForSingleObject(init.heRapiInit, timeoutMs);
    if (FAILED(init.hrRapiInit)) return init.hrRapiInit;
    if (wait == WAIT_TIMEOUT || wait == WAIT_FAILED) return E_FAIL;
    return S_OK;
}

HRESULT RapiUninit() { return CeRapiUninit(); }

HRESULT DeviceSession::Open(DWORD timeoutMs) {
    Close();
    return RapiInit(timeoutMs, &opened_);
}

void DeviceSession::Close() {
    if (opened_) RapiUninit();
    opened_ = false;
}

}  // namespace vorlan
