// Wendric: the program and message plug-in's COM server (table "ProcessSync").
#include "ComServer.h"
#include "ProcessConfigDlg.h"
#include "ProcessSync.h"
#include "QvProcess.h"
#include "Resource.h"
#include "VorlanObject.h"
#include "VorlanProperties.h"
#include "wendric.h"

namespace vorlan {
namespace {

const char* const kFields[] = {"Flag", "ProcessIdentifier"};

const PluginDescription kWendric = {
    "Wendric.Vorlan", "ProcessSync", kFields, 2, 2, IDS_READABLE_NAME, IDS_DESCRIPTION, IDI_WENDRIC, IDI_WENDRIC,
    &processsync::ConfigureProgramItem,
};

using CProgramVorlan = CVorlanT<processsync::CProcessSync>;
using CProgramProperties = CVorlanPropertiesT<kWendric>;

const com::ComClass kClasses[] = {
    {&CLSID_Vorlan, "Wendric.Vorlan", "Vorlan Class", &com::ComObject<CProgramVorlan>::Create<>},
    {&CLSID_QvProcess, "Wendric.QvProcess", "QvProcess Class", &com::ComObject<processsync::CQvProcess>::Create<>},
    {&CLSID_VorlanProperties, "Wendric.VorlanProperties", "VorlanProperties Class",
     &com::ComObject<CProgramProperties>::Create<>},
};

}  // namespace

const com::ComServer com::g_server = {&LIBID_WENDRICLib, 1, 0, kClasses, 3, nullptr, nullptr};

}  // namespace vorlan
