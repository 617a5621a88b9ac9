// The event viewer: lists the records of one event log, newest first.
//   EventViewer [/log:<name>] [/file:<store>]
// The log is "Application" unless named; "/s" and unknown switches are
// ignored, so the command line of the platform's own viewer works too.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "EventSources.h"
#include "EventViewerDialog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    std::string log = vorlan::eventlog::kApplicationLog, file;
    for (int i = 1; i < __argc; ++i) {
        const char* arg = __argv[i];
        if (_strnicmp(arg, "/log:", 5) == 0) log = arg + 5;
        else if (_strnicmp(arg, "/file:", 6) == 0) file = arg + 6;
    }
    vorlan::eventlog::EventViewerDialog viewer(log, file);
    return viewer.DoModal() == -1 ? 1 : 0;
}
