// The four exports of every in-process server, and its DllMain, built from
// the server's description (g_server).
#include <windows.h>

#include "ClassFactory.h"
#include "ComCall.h"
#include "ComModule.h"
#include "ComServer.h"
#include "ModuleState.h"

using vorlan::com::ComModule;
using vorlan::com::g_server;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(module);
        ComModule::Instance().Attach(module);
        if (g_server.onAttach) g_server.onAttach();
    } else if (reason == DLL_PROCESS_DETACH) {
        if (g_server.onDetach) g_server.onDetach();
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (int i = 0; i < g_server.classCount; ++i) {
        if (IsEqualCLSID(clsid, *g_server.classes[i].clsid))
            return vorlan::com::CreateClassFactory(g_server.classes[i].create, iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
    if (ComModule::Instance().LockCount() != 0) return S_FALSE;
    ComModule::Instance().ReleaseCaches();
    return S_OK;
}

STDAPI DllRegisterServer() {
    vorlan::ModuleStateGuard state(ComModule::Instance().Handle());
    return vorlan::com::ComCall([] { return vorlan::com::RegisterServer(g_server); });
}

STDAPI DllUnregisterServer() {
    vorlan::ModuleStateGuard state(ComModule::Instance().Handle());
    return vorlan::com::ComCall([] { return vorlan::com::UnregisterServer(g_server); });
}
