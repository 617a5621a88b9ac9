#pragma once
// The runner's application: one instance per desktop, found by its window.
#include "WinApp.h"

namespace vorlan::runner {

class CVorlanTestApp : public CWinApp {
public:
    CVorlanTestApp() : CWinApp("Stelmar") {}
    // A runner already up gets the Sync command ("/SyncNow") and this one
    // ends; else the window runs until it is closed. Always FALSE: the
    // program ends with its window.
    BOOL InitInstance() override;
};

}  // namespace vorlan::runner
