// Feldane: the file plug-in's COM server (table "FileSync").
#include "ComServer.h"
#include "FileItemWizard.h"
#include "FileSync.h"
#include "QvFileCopy.h"
#include "Resource.h"
#include "VorlanObject.h"
#include "VorlanProperties.h"
#include "feldane.h"

namespace vorlan {
namespace {

const char* const kFields[] = {"OriginUrl", "Dest", "FileAttributes", "DownloadAttributes"};

const PluginDescription kFeldane = {
    "Feldane.Vorlan", "FileSync", kFields, 4, 4, IDS_READABLE_NAME, IDS_DESCRIPTION, IDI_FELDANE, IDI_FELDANE,
    &filesync::ConfigureFileItem,
};

using CFileVorlan = CVorlanT<filesync::CFileSync>;
using CFileProperties = CVorlanPropertiesT<kFeldane>;

const com::ComClass kClasses[] = {
    {&CLSID_Vorlan, "Feldane.Vorlan", "Vorlan Class", &com::ComObject<CFileVorlan>::Create<>},
    {&CLSID_VorlanProperties, "Feldane.VorlanProperties", "VorlanProperties Class",
     &com::ComObject<CFileProperties>::Create<>},
    {&CLSID_QvFileCopy, "Feldane.QvFileCopy", "QvFileCopy Class", &com::ComObject<filesync::CQvFileCopy>::Create<>},
};

}  // namespace

const com::ComServer com::g_server = {&LIBID_FELDANELib, 1, 0, kClasses, 3, nullptr, nullptr};

}  // namespace vorlan
