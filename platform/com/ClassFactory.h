#pragma once
// The class factory handed out by DllGetClassObject: one per class, living
// as long as its references, holding a module lock while alive.
#include <windows.h>
#include <ole2.h>

#include "ComServer.h"

namespace vorlan::com {

HRESULT CreateClassFactory(CreateFunction create, REFIID iid, void** out);

}  // namespace vorlan::com
