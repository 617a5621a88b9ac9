#pragma once
// What the options dialog reads and writes, cleared for a test and put back
// afterwards: the user's and the machine's settings, the runner's
// auto-start entry, the plug-in list and the device partnership that the
// service manager names while a device is connected.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace vorlan::testing {

class OptionsSettings {
public:
    OptionsSettings();
    ~OptionsSettings();
    OptionsSettings(const OptionsSettings&) = delete;
    OptionsSettings& operator=(const OptionsSettings&) = delete;

    // Every value below removed.
    void Clear() const;

    // As the service manager does while its device (partnership 1) is
    // connected, or not.
    static void SetConnected(bool connected);
    // The DWORD "Disabled" of the object type "Vorlan" in partnership 1;
    // -1 when absent.
    static long PartnershipDisabled();
    static void SetPartnershipDisabled(DWORD value);

    // A string value by registry path; "<absent>" when there is none.
    static std::string Text(const char* path);
    // A DWORD value; -1 when absent.
    static long Number(const char* path);

private:
    struct Saved {
        std::string path;
        DWORD type;
        std::vector<BYTE> data;
    };
    std::vector<Saved> saved_;
};

// Paths the tests use beside the core's own (Settings.h).
inline constexpr char kMachineErrorLevel[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhall\\Vorlan\\ErrorLevel";
inline constexpr char kMachinePluginConfig[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig";
inline constexpr char kMachineDefaultSyncApp[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Dravenhall\\Vorlan\\DefaultSyncApp";

}  // namespace vorlan::testing
