#pragma once
// The core's settings, under \SOFTWARE\Dravenhall\Vorlan\ in
// HKEY_CURRENT_USER, else HKEY_LOCAL_MACHINE.
namespace vorlan::settings {

inline constexpr char kPluginConfig[] = "\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig";
inline constexpr char kErrorLevel[] = "\\SOFTWARE\\Dravenhall\\Vorlan\\ErrorLevel";
inline constexpr char kMessageTtl[] = "\\SOFTWARE\\Dravenhall\\Vorlan\\Message TTL";

inline constexpr unsigned kDefaultMessageTtl = 3000;

}  // namespace vorlan::settings
