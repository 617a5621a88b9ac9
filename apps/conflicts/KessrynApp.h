#pragma once
// Kessryn, the conflict manager: a dialog program that shows its one
// window modally and ends when it closes.
#include "WinApp.h"

namespace vorlan::conflicts {

class CKessrynApp : public CWinApp {
public:
    BOOL InitInstance() override;
};

}  // namespace vorlan::conflicts
