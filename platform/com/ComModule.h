#pragma once
// The server module: its handle, its lock count (objects alive plus
// LockServer calls), and the type information served from the type library
// embedded in the module. The caches are guarded by the module's critical
// section; counts change with interlocked operations.
#include <windows.h>
#include <ole2.h>
#include <string>

namespace vorlan::com {

class ComModule {
public:
    static ComModule& Instance();

    void Attach(HINSTANCE module);
    HINSTANCE Handle() const { return module_; }
    // Full path of the module file.
    std::wstring Path() const;

    void Lock() { InterlockedIncrement(&locks_); }
    void Unlock() { InterlockedDecrement(&locks_); }
    LONG LockCount() const { return locks_; }

    // Type library embedded as resource TYPELIB 1 (loaded once, cached).
    HRESULT TypeLib(ITypeLib** out);
    // Type information of one interface of that library (cached).
    HRESULT TypeInfo(REFIID iid, ITypeInfo** out);
    // Drops the caches; called when the module may unload.
    void ReleaseCaches();

private:
    ComModule();

    HINSTANCE module_ = nullptr;
    volatile LONG locks_ = 0;
    CRITICAL_SECTION guard_;
    ITypeLib* typeLib_ = nullptr;
    static constexpr int kMaxTypeInfos = 8;
    IID cachedIids_[kMaxTypeInfos] = {};
    ITypeInfo* cachedInfos_[kMaxTypeInfos] = {};
    int cachedCount_ = 0;
};

}  // namespace vorlan::com
