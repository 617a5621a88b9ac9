// Tolvane: the registry plug-in's COM server (table "RegSync").
#include "ComServer.h"
#include "QvRegistry.h"
#include "RegSync.h"
#include "RegistryItemDlg.h"
#include "Resource.h"
#include "VorlanObject.h"
#include "VorlanProperties.h"
#include "tolvane.h"

namespace vorlan {
namespace {

const char* const kFields[] = {"Key", "Value", "Type"};

const PluginDescription kTolvane = {
    "Tolvane.Vorlan", "RegSync", kFields, 3, 3, IDS_READABLE_NAME, IDS_DESCRIPTION, IDI_TOLVANE, IDI_TOLVANE,
    &regsync::ConfigureRegistryItem,
};

using CRegistryVorlan = CVorlanT<regsync::CRegSync>;
using CRegistryProperties = CVorlanPropertiesT<kTolvane>;

const com::ComClass kClasses[] = {
    {&CLSID_Vorlan, "Tolvane.Vorlan", "Vorlan Class", &com::ComObject<CRegistryVorlan>::Create<>},
    {&CLSID_QvRegistry, "Tolvane.QvRegistry", "QvRegistry Class", &com::ComObject<regsync::CQvRegistry>::Create<>},
    {&CLSID_VorlanProperties, "Tolvane.VorlanProperties", "VorlanProperties Class",
     &com::ComObject<CRegistryProperties>::Create<>},
};

}  // namespace

const com::ComServer com::g_server = {&LIBID_TOLVANELib, 1, 0, kClasses, 3, nullptr, nullptr};

}  // namespace vorlan
