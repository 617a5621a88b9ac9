// Corvath: the synchronisation core's server.
#include "ComServer.h"
#include "CoreDialogs.h"
#include "DeviceInfo.h"
#include "PackageSync.h"
#include "VorlanMain.h"
#include "Resource.h"
#include "VorlanObject.h"
#include "VorlanProperties.h"
#include "corvath.h"

namespace vorlan {
namespace {

// The component table's synchroniser: failures of components are reported
// by its engine and never stop the run that hands it the rows.
using CCoreVorlan = CVorlanT<CPackageSync, EngineResult::AlwaysSucceed>;

// The component table described like any plug-in's table.
const char* const kComponentFields[] = {"ProgId", "ConfigUrl", "Name", "Version", "AlwaysSync", "Patch"};
const PluginDescription kComponentTable = {
    "Corvath.Vorlan", "PlugInsCfg", kComponentFields, 6, 6, IDS_CORE_NAME, IDS_CORE_DESCRIPTION,
    IDI_SELECTED, IDI_UNSELECTED, &ShowComponentDialog,
};
using CCoreProperties = CVorlanPropertiesT<kComponentTable>;

const com::ComClass kClasses[] = {
    {&CLSID_VorlanMain, "Corvath.VorlanMain", "VorlanMain Class",
     &com::ComObject<CVorlanMain>::Create<>},
    {&CLSID_Vorlan, "Corvath.Vorlan", "Vorlan Class", &com::ComObject<CCoreVorlan>::Create<>},
    {&CLSID_VorlanProperties, "Corvath.VorlanProperties", "VorlanProperties Class",
     &com::ComObject<CCoreProperties>::Create<>},
    {&CLSID_DeviceInfo, "Corvath.DeviceInfo", "DeviceInfo Class", &com::ComObject<CDeviceInfo>::Create<>},
};

}  // namespace

const com::ComServer com::g_server = {&LIBID_CORVATHLib, 1, 0, kClasses, 4, nullptr, nullptr};

}  // namespace vorlan
