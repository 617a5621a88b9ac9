#include "AutoStartCommand.h"

namespace vorlan {

bool MakeAutoStartCommand(const std::string& installDir, std::string& command) {
    if (installDir.empty()) return false;
    std::string folder = installDir;
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    std::string made = "\"" + folder + "Stelmar.exe\" /SyncNow";
    if (made.size() > kAutoStartCommandMost) return false;
    command = std::move(made);
    return true;
}

}  // namespace vorlan
