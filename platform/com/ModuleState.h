#pragma once
// The module whose resources (strings, icons, dialogs) the current thread
// loads from. Every COM method of a server and every exported function
// enters its own module first, so a plug-in's texts come from the plug-in's
// file even when the host called it. Guards nest and restore on every exit.
#include <windows.h>

namespace vorlan {

// The module set by the innermost guard, else the process's executable.
HINSTANCE CurrentResourceModule();

class ModuleStateGuard {
public:
    explicit ModuleStateGuard(HINSTANCE module);
    ~ModuleStateGuard();
    ModuleStateGuard(const ModuleStateGuard&) = delete;
    ModuleStateGuard& operator=(const ModuleStateGuard&) = delete;

private:
    HINSTANCE previous_;
};

}  // namespace vorlan
