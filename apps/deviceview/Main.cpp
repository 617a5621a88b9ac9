// Yarrowin, the device information viewer. No command line is read.
#include <windows.h>

#include "YarrowinApp.h"

vorlan::deviceview::CYarrowinApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    return vorlan::AfxWinMain(instance, commandLine, show);
}
