#include "ModuleState.h"

namespace vorlan {
namespace {
thread_local HINSTANCE t_resourceModule = nullptr;
}

HINSTANCE CurrentResourceModule() {
    return t_resourceModule ? t_resourceModule : GetModuleHandleW(nullptr);
}

ModuleStateGuard::ModuleStateGuard(HINSTANCE module) : previous_(t_resourceModule) {
    t_resourceModule = module;
}

ModuleStateGuard::~ModuleStateGuard() { t_resourceModule = previous_; }

}  // namespace vorlan
