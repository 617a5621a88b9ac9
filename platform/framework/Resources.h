#pragma once
// Resources of the module the current thread uses (ModuleState.h): a DLL
// that entered its own module loads its own strings and dialogs.
#include <windows.h>

#include <string>

namespace vorlan {

HINSTANCE AfxGetResourceHandle();
// The string resource id of module (default: the current resource module);
// "" when there is none.
std::string LoadResourceString(UINT id, HINSTANCE module = nullptr);

}  // namespace vorlan
