#include "PluginList.h"

#include <windows.h>

#include "MapStrToStrReg.h"

namespace vorlan::editor {

std::string FindPluginProgId(const std::string& tableName) {
    if (tableName.empty()) return {};
    std::string lowered = tableName;
    CharLowerBuffA(lowered.data(), static_cast<DWORD>(lowered.size()));
    CMapStrToStrReg list;
    list.Load(kPluginListKey);
    const std::string* progId = list.Find(lowered);
    return progId ? *progId : std::string();
}

std::string DescriptionProgId(const std::string& pluginProgId) {
    // An entry without a point names no plug-in's description object.
    const size_t point = pluginProgId.find('.');
    return (point == std::string::npos ? std::string() : pluginProgId.substr(0, point)) + ".VorlanProperties";
}

}  // namespace vorlan::editor
