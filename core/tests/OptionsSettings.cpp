#include "OptionsSettings.h"

#include "RegistryByPath.h"
#include "ServiceKeys.h"
#include "Settings.h"

namespace vorlan::testing {
namespace {

const char* const kPaths[] = {
    settings::kUserPluginConfig, settings::kUserErrorLevel, settings::kUserDefaultSyncApp,
    kMachineErrorLevel,          kMachinePluginConfig,      kMachineDefaultSyncApp,
    settings::kInstallDir,       settings::kRunnerAutoStart,
};

const std::string kCurrentPartner =
    std::string("HKEY_CURRENT_USER\\") + activesync::kPartnersKey + "\\" + activesync::kCurrentPartnerValue;
const std::string kPartnershipDisabled = std::string("HKEY_CURRENT_USER\\") + activesync::kPartnersKey + "\\P1\\" +
                                         activesync::kPartnerSynchronizationKey + "\\Objects\\Vorlan\\Disabled";

}  // namespace

OptionsSettings::OptionsSettings() {
    std::vector<std::string> paths(std::begin(kPaths), std::end(kPaths));
    paths.push_back(kCurrentPartner);
    paths.push_back(kPartnershipDisabled);
    for (const std::string& path : paths) {
        Saved saved{path, REG_NONE, std::vector<BYTE>(4096)};
        DWORD size = static_cast<DWORD>(saved.data.size());
        if (RegQueryValueByPath(path, saved.data.data(), &saved.type, &size) == ERROR_SUCCESS) {
            saved.data.resize(size);
            saved_.push_back(saved);
        } else {
            saved_.push_back({path, REG_NONE, {}});
        }
    }
    Clear();
}

OptionsSettings::~OptionsSettings() {
    for (const Saved& saved : saved_) {
        if (saved.type == REG_NONE) DeleteRegValue(saved.path);
        else RegSetValueByPath(saved.path, saved.type, saved.data.data(), static_cast<DWORD>(saved.data.size()), FALSE);
    }
}

void OptionsSettings::Clear() const {
    for (const Saved& saved : saved_) DeleteRegValue(saved.path);
}

void OptionsSettings::SetConnected(bool connected) {
    if (connected) RegWriteDword(kCurrentPartner, 1);
    else DeleteRegValue(kCurrentPartner);
}

long OptionsSettings::PartnershipDisabled() { return Number(kPartnershipDisabled.c_str()); }

void OptionsSettings::SetPartnershipDisabled(DWORD value) { RegWriteDword(kPartnershipDisabled, value); }

std::string OptionsSettings::Text(const char* path) {
    std::string text;
    return RegReadString(path, text) == ERROR_SUCCESS ? text : "<absent>";
}

long OptionsSettings::Number(const char* path) {
    DWORD value = 0;
    return RegReadDword(path, &value) == ERROR_SUCCESS ? static_cast<long>(value) : -1;
}

}  // namespace vorlan::testing
