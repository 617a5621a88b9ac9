#include "ProviderSwitch.h"

namespace vorlan {

ProviderSwitch::ProviderSwitch() {
    library_ = LoadLibraryA("CeUtil.Dll");
    if (!library_) return;
    auto open = reinterpret_cast<CeSvcOpenProc>(GetProcAddress(library_, "CeSvcOpen"));
    close_ = reinterpret_cast<CeSvcCloseProc>(GetProcAddress(library_, "CeSvcClose"));
    set_ = reinterpret_cast<CeSvcSetDwordProc>(GetProcAddress(library_, "CeSvcSetDword"));
    if (!open || !close_ || !set_) return;
    char path[] = "Objects\\Vorlan";
    HCESVC key = nullptr;
    if (SUCCEEDED(open(CESVC_SYNCHRONIZATION, path, TRUE, &key))) key_ = key;
}

ProviderSwitch::~ProviderSwitch() {
    if (key_) close_(key_);
    if (library_) FreeLibrary(library_);
}

HRESULT ProviderSwitch::SetDisabled(bool disabled) const {
    if (!key_) return E_UNEXPECTED;
    return set_(key_, "Disabled", disabled ? 1 : 0);
}

}  // namespace vorlan
