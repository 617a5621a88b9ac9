// Kessryn, the conflict manager. No command line is read.
#include <windows.h>

#include "KessrynApp.h"

vorlan::conflicts::CKessrynApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    return vorlan::AfxWinMain(instance, commandLine, show);
}
