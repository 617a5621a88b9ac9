// Hallimor as a COM server: its type library and no class, so every class
// identifier is refused and registration writes the library alone.
#include "ComServer.h"
#include "hallimor.h"

namespace vorlan::com {

const ComServer g_server = {&LIBID_Hallimor, 1, 0, nullptr, 0, nullptr, nullptr};

}  // namespace vorlan::com
