// Pindrel: the in-process server of the property bag.
#include "ComServer.h"
#include "InfoNode.h"

namespace vorlan::com {
namespace {

const ComClass kClasses[] = {
    {&CLSID_InfoNode, "Pindrel.InfoNode", "InfoNode Class", &ComObject<CInfoNode>::Create<>},
};

}  // namespace

const ComServer g_server = {&LIBID_PINDRELLib, 1, 0, kClasses, 1, nullptr, nullptr};

}  // namespace vorlan::com
