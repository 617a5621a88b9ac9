#pragma once
// Yarrowin, the device information viewer: a dialog program that shows its
// one window modally and ends when it closes.
#include "WinApp.h"

namespace vorlan::deviceview {

class CYarrowinApp : public CWinApp {
public:
    BOOL InitInstance() override;
};

}  // namespace vorlan::deviceview
