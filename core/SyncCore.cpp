#include "SyncCore.h"

#include <windows.h>

#include "ExpandEnvironment.h"
#include "Settings.h"
#include "UserOrMachine.h"

namespace vorlan {

namespace {

// Longest project text, before and after expansion, with its terminator.
constexpr size_t kProjectChars = MAX_PATH;
// Longest text an environment variable can expand to.
constexpr size_t kExpandedMostChars = 32767;

}  // namespace

HRESULT CSyncCore::Sync(const std::string& url) {
    std::string project = url;
    if (project.empty()) {
        const LONG read = ReadUserOrMachineString(settings::kPluginConfig, project);
        // None in either hive is left to the URL test; a setting that is
        // there but cannot be read is no reason to run nothing silently.
        if (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND)
            return engine_.RefuseProject(settings::kPluginConfig);
    }
    if (project.size() >= kProjectChars) return engine_.RefuseProject(project);
    std::string expanded;
    if (!ExpandEnvironment(project, expanded, kProjectChars)) {
        std::string whole;
        return engine_.RefuseProject(ExpandEnvironment(project, whole, kExpandedMostChars) ? whole : project);
    }
    return engine_.Sync(kCoreVorlanProgId, expanded);
}

}  // namespace vorlan
