#pragma once
// The class factory: it makes a store, whatever class was asked for.
#include <windows.h>
#include <ole2.h>

namespace vorlan::provider {

class CVorlanFactory final : public IClassFactory {
public:
    CVorlanFactory();
    CVorlanFactory(const CVorlanFactory&) = delete;
    CVorlanFactory& operator=(const CVorlanFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) override;

private:
    ~CVorlanFactory();
    volatile LONG references_ = 1;
};

}  // namespace vorlan::provider
