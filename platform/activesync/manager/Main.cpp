// The ActiveSync service manager of this system: owns the windows that the
// synchronising components talk to, "DccMan" with its tray icon and
// balloons and "SyncMgrUI" with its status line, and journals what reaches
// them.
//   ServiceManager [/journal:<file>]
// Closing either window ends it.
#include <windows.h>

#include <cstring>
#include <string>

#include "ConnectionWindow.h"
#include "Journal.h"
#include "NotificationArea.h"
#include "SyncWindow.h"

using namespace vorlan::activesync;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::string journalPath;
    for (int i = 1; i < __argc; ++i)
        if (_strnicmp(__argv[i], "/journal:", 9) == 0) journalPath = __argv[i] + 9;
    Journal journal(journalPath);

    NotificationArea tray(journal);
    ConnectionWindow connection;
    SyncWindow sync(journal);
    if (!tray.Create(instance) || !connection.Create(instance) || !sync.Create(instance, connection.Handle()))
        return 1;
    journal.Write({"started", std::to_string(GetCurrentProcessId())});

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    journal.Write({"stopped"});
    return 0;
}
