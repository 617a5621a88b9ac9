// Ebrinth: describes a table whose kind no installed plug-in handles, so the
// editor can still list it and say why it cannot be edited. It has no
// synchroniser: items of an unknown kind are never transferred.
#include "ComServer.h"
#include "MessageBox.h"
#include "ModuleState.h"
#include "Resources.h"
#include "VorlanProperties.h"
#include "ebrinth.h"

namespace vorlan {
namespace {

// One column named "Unknown", while ColumnCount answers 0: the editor shows
// no column and no row of such a table.
const char* const kFields[] = {"Unknown"};

constexpr UINT kUnknownPlugin = 101;
constexpr UINT kDescription = 102;
constexpr UINT kReadableName = 103;
constexpr UINT kIcon = 201;

// Shown without an owner, under the module's name: nothing was edited, and
// the item stays as it was. S_OK, as the dialog was seen and closed.
HRESULT ExplainUnknownKind(IInfoNode**, VARIANT_BOOL) {
    ShowMessageBox(nullptr, LoadResourceString(kUnknownPlugin), "Ebrinth", MB_OK | MB_ICONERROR);
    return S_OK;
}

const PluginDescription kFallback = {
    "", "Unknown", kFields, 1, 0, kReadableName, kDescription, kIcon, kIcon, &ExplainUnknownKind,
};

using CFallbackProperties = CVorlanPropertiesT<kFallback>;

const com::ComClass kClasses[] = {
    {&CLSID_VorlanProperties, "Ebrinth.VorlanProperties", "VorlanProperties Class",
     &com::ComObject<CFallbackProperties>::Create<>},
};

const GUID kAppId = {0xAF336E0A, 0xD522, 0x4B59, {0xA3, 0xE7, 0xDE, 0xFA, 0x0B, 0xC9, 0x12, 0x14}};

}  // namespace

const com::ComServer com::g_server = {&LIBID_EbrinthLib, 1, 0, kClasses, 1, nullptr, nullptr, &kAppId, "Ebrinth"};

}  // namespace vorlan
