#include "VorlanMain.h"

#include "Bstr.h"
#include "ComCall.h"
#include "CoreDialogs.h"
#include "ModuleState.h"

namespace vorlan {

STDMETHODIMP CVorlanMain::Init() {
    ModuleStateGuard state(com::ComModule::Instance().Handle());
    return com::ComCall([&] { return core_.Init(); });
}

STDMETHODIMP CVorlanMain::Sync(BSTR bstrURL) {
    ModuleStateGuard state(com::ComModule::Instance().Handle());
    return com::ComCall([&] { return core_.Sync(com::AnsiFromBstr(bstrURL)); });
}

STDMETHODIMP CVorlanMain::ConfigurationDlgBox() {
    ModuleStateGuard state(com::ComModule::Instance().Handle());
    return com::ComCall([] { return ShowOptionsDialog(); });
}

}  // namespace vorlan
