// The ActiveSync service manager of this system: owns the windows that the
// synchronising components talk to, "DccMan" with its tray icon and
// balloons and "SyncMgrUI" with its status line, journals what reaches
// them, and drives the registered providers and auto-start programs when
// it is told a device connected.
//   ServiceManager [/journal:<file>] [/state:<file>] [/deletions] [/connect] [/sync] [/options] [/disconnect] [/quit]
//   ServiceManager /install
// Commands run in the order given, once the windows are up; when a service
// manager runs already, they go to it instead and this one waits for each,
// exiting 0 when all succeeded. /state names the file where it remembers
// what each provider's items were between its runs; /deletions passes
// objects the device reports deleted on to the providers. /install creates ActiveSync's own keys, as
// its installer would, and exits. Closing either window ends it.
#include <windows.h>
#include <ole2.h>

#include <cstring>
#include <string>
#include <vector>

#include "ConnectionWindow.h"
#include "DeviceConnection.h"
#include "Journal.h"
#include "NotificationArea.h"
#include "ServiceKeys.h"
#include "ServiceManagerCommands.h"
#include "SyncWindow.h"

using namespace vorlan::activesync;

namespace {

// A command of the command line: a message for the DccMan window.
bool CommandMessage(const char* argument, UINT& message) {
    static const struct {
        const char* name;
        UINT message;
    } kCommands[] = {{"/connect", kDeviceConnectedMessage},
                     {"/sync", kSynchronizeMessage},
                     {"/options", kShowOptionsMessage},
                     {"/disconnect", kDeviceDisconnectedMessage},
                     {"/quit", WM_CLOSE}};
    for (const auto& command : kCommands)
        if (_stricmp(argument, command.name) == 0) return message = command.message, true;
    return false;
}

int Install() {
    for (const char* path : {kObjectsKey, kAutoStartKey}) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return 1;
        RegCloseKey(key);
    }
    return 0;
}

int Forward(HWND running, const std::vector<UINT>& commands) {
    for (UINT message : commands) {
        if (message == WM_CLOSE) {
            PostMessageW(running, WM_CLOSE, 0, 0);
            continue;
        }
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(running, message, 0, 0, SMTO_NORMAL, 30 * 60 * 1000, &answer)) return 1;
        if (FAILED(static_cast<HRESULT>(answer))) return 1;
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::string journalPath, statePath;
    bool propagateDeletions = false;
    std::vector<UINT> commands;
    for (int i = 1; i < __argc; ++i) {
        UINT message = 0;
        if (_strnicmp(__argv[i], "/journal:", 9) == 0) journalPath = __argv[i] + 9;
        else if (_strnicmp(__argv[i], "/state:", 7) == 0) statePath = __argv[i] + 7;
        else if (_stricmp(__argv[i], "/deletions") == 0) propagateDeletions = true;
        else if (_stricmp(__argv[i], "/install") == 0) return Install();
        else if (CommandMessage(__argv[i], message)) commands.push_back(message);
    }
    if (HWND running = FindWindowA(nullptr, "DccMan")) return Forward(running, commands);

    // Providers live in this thread's apartment and are called only here.
    if (FAILED(CoInitialize(nullptr))) return 1;
    Journal journal(journalPath);
    int exitCode = 1;
    {
        NotificationArea tray(journal);
        ConnectionWindow connection;
        SyncWindow sync(journal);
        DeviceConnection device(journal, statePath, propagateDeletions);
        if (tray.Create(instance) && connection.Create(instance) && sync.Create(instance, connection.Handle())) {
            connection.SetCommandHandler([&](UINT message) -> HRESULT {
                switch (message) {
                    case kDeviceConnectedMessage: return device.Connected();
                    case kSynchronizeMessage: return device.Synchronize();
                    case kShowOptionsMessage: return device.ShowOptions(connection.Handle());
                    default: device.Disconnected(); return S_OK;
                }
            });
            journal.Write({"started", std::to_string(GetCurrentProcessId())});
            for (UINT message : commands) PostMessageW(connection.Handle(), message, 0, 0);

            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            device.Disconnected();
            exitCode = 0;
        }
    }
    journal.Write({"stopped"});
    CoUninitialize();
    return exitCode;
}
