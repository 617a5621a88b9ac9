#pragma once
// What a server module is, described as data: its type library and its
// classes. Each server defines one `vorlan::com::g_server`; the standard
// exports (DllGetClassObject, DllCanUnloadNow, DllRegisterServer,
// DllUnregisterServer) are built from it.
#include <windows.h>
#include <ole2.h>

namespace vorlan::com {

using CreateFunction = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

struct ComClass {
    const CLSID* clsid;
    // Version-independent ProgID ("Pindrel.InfoNode"); the versioned one
    // appends ".1".
    const char* progId;
    // Display name ("InfoNode Class").
    const char* description;
    CreateFunction create;
};

struct ComServer {
    const GUID* libid;
    WORD libMajor;
    WORD libMinor;
    const ComClass* classes;
    int classCount;
    // Optional hooks run from DllMain after the module is attached and
    // before it is detached (a server's application object).
    void (*onAttach)();
    void (*onDetach)();
    // Optional: the server's AppID, registered as HKCR\AppID\{appId} named
    // appName, and HKCR\AppID\<appName>.DLL (the server's file) whose "AppID" names it.
    const GUID* appId;
    const char* appName;
};

extern const ComServer g_server;

// Writes (or removes) the registration of every class of the server and its
// type library. On failure registration stops and the error is returned.
HRESULT RegisterServer(const ComServer& server);
HRESULT UnregisterServer(const ComServer& server);

}  // namespace vorlan::com
