#pragma once
// The core's settings, under \SOFTWARE\Dravenhall\Vorlan\ in
// HKEY_CURRENT_USER, else HKEY_LOCAL_MACHINE.
namespace vorlan::settings {

inline constexpr char kPluginConfig[] = "\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig";
inline constexpr char kErrorLevel[] = "\\SOFTWARE\\Dravenhall\\Vorlan\\ErrorLevel";
inline constexpr char kMessageTtl[] = "\\SOFTWARE\\Dravenhall\\Vorlan\\Message TTL";
inline constexpr char kDefaultSyncApp[] = "\\SOFTWARE\\Dravenhall\\Vorlan\\DefaultSyncApp";

// What the options dialog writes: the user's own settings.
inline constexpr char kUserPluginConfig[] = "HKEY_CURRENT_USER\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig";
inline constexpr char kUserErrorLevel[] = "HKEY_CURRENT_USER\\SOFTWARE\\Dravenhall\\Vorlan\\ErrorLevel";
inline constexpr char kUserDefaultSyncApp[] = "HKEY_CURRENT_USER\\SOFTWARE\\Dravenhall\\Vorlan\\DefaultSyncApp";
// The installation folder of the desktop programs, the machine's only.
inline constexpr char kInstallDir[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhall\\Vorlan\\InstallDir";
// The runner's entry among the programs ActiveSync starts when a device
// connects.
inline constexpr char kRunnerAutoStart[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows CE Services\\AutoStartOnConnect\\Vorlan";
// The installed plug-ins: value name = table name, value = ProgID.
inline constexpr char kPluginList[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhall\\Common\\IVorlan\\ProgId\\";

// DefaultSyncApp: which front end runs at each connection.
enum SyncApp { kSyncAppProvider = 0, kSyncAppRunner = 1, kSyncAppNone = 2 };

inline constexpr unsigned kDefaultMessageTtl = 3000;

}  // namespace vorlan::settings
