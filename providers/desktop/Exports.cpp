// The provider's class-object exports.
#include <windows.h>
#include <ole2.h>

#include <new>

#include "VorlanFactory.h"
#include "VorlanModule.h"

namespace vorlan::provider {
CVorlanModule g_module;
}  // namespace vorlan::provider

using vorlan::provider::g_module;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(module);
        g_module.Attach(module);
    }
    return TRUE;
}

// Every class identifier gets the store's factory.
STDAPI DllGetClassObject(REFCLSID, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_INVALIDARG;
    *ppv = nullptr;
    auto* factory = new (std::nothrow) vorlan::provider::CVorlanFactory;
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() { return g_module.CanUnload() ? S_OK : S_FALSE; }
