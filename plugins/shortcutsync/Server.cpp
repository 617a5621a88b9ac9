// Quorran: the shortcut plug-in's COM server (table "ShortcutSync").
#include "ComServer.h"
#include "QvShortcut.h"
#include "Shortcut.h"
#include "ShortcutConfigDlg.h"
#include "Resource.h"
#include "VorlanObject.h"
#include "VorlanProperties.h"
#include "quorran.h"

namespace vorlan {
namespace {

const char* const kFields[] = {"DisplayName", "Destination", "Target"};

const PluginDescription kQuorran = {
    "Quorran.Vorlan", "ShortcutSync", kFields, 3, 3, IDS_READABLE_NAME, IDS_DESCRIPTION, IDI_QUORRAN, IDI_QUORRAN,
    &shortcutsync::ConfigureShortcutItem,
};

using CShortcutVorlan = CVorlanT<shortcutsync::CShortcut>;
using CShortcutProperties = CVorlanPropertiesT<kQuorran>;

const com::ComClass kClasses[] = {
    {&CLSID_Vorlan, "Quorran.Vorlan", "Vorlan Class", &com::ComObject<CShortcutVorlan>::Create<>},
    {&CLSID_QvShortcut, "Quorran.QvShortcut", "QvShortcut Class",
     &com::ComObject<shortcutsync::CQvShortcut>::Create<>},
    {&CLSID_VorlanProperties, "Quorran.VorlanProperties", "VorlanProperties Class",
     &com::ComObject<CShortcutProperties>::Create<>},
};

}  // namespace

const com::ComServer com::g_server = {&LIBID_QUORRANLib, 1, 0, kClasses, 3, nullptr, nullptr};

}  // namespace vorlan
