#include "VorlanFactory.h"

#include "ComCall.h"
#include "VorlanModule.h"
#include "VorlanStore.h"

namespace vorlan::provider {

CVorlanFactory::CVorlanFactory() { g_module.ObjectCreated(); }
CVorlanFactory::~CVorlanFactory() { g_module.ObjectDestroyed(); }

HRESULT CVorlanFactory::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

ULONG CVorlanFactory::AddRef() { return InterlockedIncrement(&references_); }

ULONG CVorlanFactory::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
}

HRESULT CVorlanFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) {
    if (!ppv) return E_INVALIDARG;
    *ppv = nullptr;
    if (pUnkOuter) return CLASS_E_NOAGGREGATION;
    return com::ComCall([&]() -> HRESULT {
        auto* store = new CVorlanStore;
        const HRESULT hr = store->QueryInterface(riid, ppv);
        store->Release();
        return hr;
    });
}

HRESULT CVorlanFactory::LockServer(BOOL fLock) {
    g_module.Lock(fLock != FALSE);
    return S_OK;
}

}  // namespace vorlan::provider
