// Stelmar, the stand-alone synchronisation runner.
//   Stelmar [/SyncNow ["URL_OR_PATH"]]
#include <windows.h>

#include "VorlanTestApp.h"

vorlan::runner::CVorlanTestApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    return vorlan::AfxWinMain(instance, commandLine, show);
}
