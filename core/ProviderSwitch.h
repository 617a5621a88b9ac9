#pragma once
// The desktop provider's switch for the connected device: the DWORD
// "Disabled" of the object type "Vorlan" in the device's partnership,
// reached through ActiveSync's "CeUtil.Dll" (service root 5). Without the
// library or a connected device there is nothing to switch.
#include <windows.h>

#include "CeUtil.h"

namespace vorlan {

class ProviderSwitch {
public:
    // Loads the library and opens (creating) the object type's key.
    ProviderSwitch();
    ~ProviderSwitch();
    ProviderSwitch(const ProviderSwitch&) = delete;
    ProviderSwitch& operator=(const ProviderSwitch&) = delete;

    bool IsOpen() const { return key_ != nullptr; }
    // "Disabled" = 1 or 0; E_UNEXPECTED when the key is not open.
    HRESULT SetDisabled(bool disabled) const;

private:
    HMODULE library_ = nullptr;
    CeSvcCloseProc close_ = nullptr;
    CeSvcSetDwordProc set_ = nullptr;
    HCESVC key_ = nullptr;
};

}  // namespace vorlan
