// Corvath: the synchronisation core's server.
#include "ComServer.h"
#include "PackageSync.h"
#include "VorlanMain.h"
#include "VorlanObject.h"
#include "corvath.h"

namespace vorlan {
namespace {

// The component table's synchroniser: failures of components are reported
// by its engine and never stop the run that hands it the rows.
using CCoreVorlan = CVorlanT<CPackageSync, EngineResult::AlwaysSucceed>;

const com::ComClass kClasses[] = {
    {&CLSID_VorlanMain, "Corvath.VorlanMain", "VorlanMain Class",
     &com::ComObject<CVorlanMain>::Create<>},
    {&CLSID_Vorlan, "Corvath.Vorlan", "Vorlan Class", &com::ComObject<CCoreVorlan>::Create<>},
};

}  // namespace

const com::ComServer com::g_server = {&LIBID_CORVATHLib, 1, 0, kClasses, 2, nullptr, nullptr};

}  // namespace vorlan
