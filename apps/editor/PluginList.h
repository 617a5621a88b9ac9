#pragma once
// The installed plug-ins: under
// HKEY_LOCAL_MACHINE\SOFTWARE\Dravenhall\Common\IVorlan\ProgId\ each value
// names a table kind in lower case and holds the ProgID of the plug-in that
// handles it ("filesync" = "Feldane.Vorlan").
#include <string>

namespace vorlan::editor {

inline constexpr char kPluginListKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhall\\Common\\IVorlan\\ProgId\\";

// The ProgID of the plug-in for a table name (matched in lower case); ""
// when no plug-in is listed for it or the list cannot be read.
std::string FindPluginProgId(const std::string& tableName);

// The description object's ProgID: the plug-in's ProgID up to its first
// point, then ".VorlanProperties" ("Feldane.Vorlan" gives
// "Feldane.VorlanProperties", "Tolvane" gives ".VorlanProperties").
std::string DescriptionProgId(const std::string& pluginProgId);

}  // namespace vorlan::editor
