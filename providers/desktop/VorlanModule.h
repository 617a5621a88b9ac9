#pragma once
// The provider module's one static object: how many of its objects are
// alive and how often a client locked it; the library may unload when both
// are zero.
#include <windows.h>

namespace vorlan::provider {

class CVorlanModule {
public:
    void ObjectCreated() { InterlockedIncrement(&objects_); }
    void ObjectDestroyed() { InterlockedDecrement(&objects_); }
    void Lock(bool lock) { lock ? InterlockedIncrement(&locks_) : InterlockedDecrement(&locks_); }
    bool CanUnload() const { return objects_ == 0 && locks_ == 0; }

    HINSTANCE Instance() const { return instance_; }
    void Attach(HINSTANCE instance) { instance_ = instance; }

private:
    volatile LONG objects_ = 0;
    volatile LONG locks_ = 0;
    HINSTANCE instance_ = nullptr;
};

extern CVorlanModule g_module;

}  // namespace vorlan::provider
