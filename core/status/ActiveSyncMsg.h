#pragma once
// Progress lines and error balloons of a synchronisation run. The core has
// no window: a progress line goes to the runner's list when the runner hosts
// the run, else to the status line of ActiveSync's synchronisation window;
// balloons go to ActiveSync's tray icon. The windows are looked up on every
// call, and a missing one makes the call return FALSE and do nothing.
// Calls are sent messages: the windows' threads must be pumping.
#include <windows.h>

#include <string>
#include <string_view>

namespace vorlan {

class CActiveSyncMsg {
public:
    // A balloon of NIIF_ERROR on tray icon 1 of the window titled "DccMan",
    // staying timeout ms. Texts longer than the balloon's fields (255 and 63
    // characters) are cut. TRUE when the shell took the balloon.
    BOOL ShowBalloon(const std::string& title, const std::string& text, DWORD timeout) const;
    // In the runner: column 1 of the row named item in the runner's list
    // becomes text. Elsewhere: ActiveSync's status line becomes
    // "Vorlan: " followed by text.
    BOOL SetStatus(const std::string& item, const std::string& text) const;
    // The first list view child of the runner's window (titled "Stelmar").
    HWND FindRunnerList() const;
    // The first row whose column 0 equals item exactly; -1 for none, for an
    // empty list or an empty item.
    int FindListRow(HWND list, const std::string& item) const;
};

// Whether the host executable is the runner: its path holds "Stelmar" in
// any letter case.
bool IsRunnerHostPath(std::string_view path);

}  // namespace vorlan
