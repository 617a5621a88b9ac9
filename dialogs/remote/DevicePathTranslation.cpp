#include "DevicePathTranslation.h"

#include "CeFolders.h"
#include "DeviceSession.h"
#include "UserOrMachine.h"

namespace vorlan {

bool ToRealDevicePath(const std::string& path, std::string& real) {
    char buffer[MAX_PATH] = {};
    const int needed = ExpandCeFolderVariables(path.c_str(), buffer, sizeof buffer);
    if (needed <= 0 || needed > static_cast<int>(sizeof buffer)) return false;
    real = buffer;
    return true;
}

SymbolicFolderTable ReadSymbolicFolderTable() {
    SymbolicFolderTable table;
    DeviceSession session;
    if (FAILED(session.Open(kDeviceWaitMs))) return table;
    table.Build([](std::string_view name, std::string& real) { return ToRealDevicePath(std::string(name), real); });
    return table;
}

bool TranslatePathSetting() {
    DWORD value = 1;
    ReadUserOrMachineDword("\\SOFTWARE\\Dravenhall\\Common\\Mirelda\\TranslatePath", &value);
    return value != 0;
}

}  // namespace vorlan
