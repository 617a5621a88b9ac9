#include "SyncCore.h"

#include <windows.h>

#include "Settings.h"
#include "UserOrMachine.h"

namespace vorlan {

HRESULT CSyncCore::Sync(const std::string& url) {
    char project[MAX_PATH] = {};
    if (!url.empty()) {
        if (url.size() >= sizeof project) return E_INVALIDARG;
        lstrcpynA(project, url.c_str(), sizeof project);
    } else {
        ReadUserOrMachineString(settings::kPluginConfig, project, sizeof project);
    }
    char expanded[MAX_PATH] = {};
    const DWORD needed = ExpandEnvironmentStringsA(project, expanded, sizeof expanded);
    if (needed == 0 || needed > sizeof expanded) return E_INVALIDARG;
    return engine_.Sync(kCoreVorlanProgId, expanded);
}

}  // namespace vorlan
