// Feldane: the file plug-in's COM server (table "FileSync").
#include "ComServer.h"
#include "FileSync.h"
#include "MessageBox.h"
#include "QvFileCopy.h"
#include "ModuleState.h"
#include "VorlanObject.h"
#include "VorlanProperties.h"
#include "feldane.h"

namespace vorlan {
namespace {

const char* const kFields[] = {"OriginUrl", "Dest", "FileAttributes", "DownloadAttributes"};

constexpr UINT kReadableName = 103;
constexpr UINT kDescription = 104;
constexpr UINT kNoWizardYet = 105;
constexpr UINT kIcon = 201;

std::string LoadText(UINT id) {
    char text[512] = {};
    LoadStringA(CurrentResourceModule(), id, text, sizeof text);
    return text;
}

// Until the item wizard is built, the dialog says so and leaves the item
// as it was.
HRESULT ConfigureItem(IInfoNode** node, VARIANT_BOOL) {
    if (!node) return E_POINTER;
    ShowMessageBox(GetActiveWindow(), LoadText(kNoWizardYet), LoadText(kReadableName), MB_OK | MB_ICONINFORMATION);
    return kDialogCancelled;
}

const PluginDescription kFeldane = {
    "Feldane.Vorlan", "FileSync", kFields, 4, 4, kReadableName, kDescription, kIcon, kIcon, &ConfigureItem,
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
