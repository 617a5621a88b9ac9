#pragma once
// The connected device's two-way state file on the desktop
// (GetTwoWaySyncDataPath), read once into memory, changed there, and
// written back whole beside itself and moved over the old one, so a failed
// write leaves the old content.
#include <windows.h>

#include <string>

#include "TwoWayState.h"

namespace vorlan::filesync {

class TwoWayStateFile {
public:
    // Reads the file; a file that is not there yet is an empty state. The
    // path's failure (no device, no name, no %APPDATA%) or the read's
    // failure otherwise, with nothing loaded.
    HRESULT Load();
    // The same for a state file whose path the caller already has (the
    // conflict manager reads the file again before each change).
    HRESULT Load(const std::string& path);
    // Writes the state back when it changed; S_OK when there was nothing to
    // write. The replacement's failure leaves the file as it was.
    HRESULT Save();
    void Unload() { loaded_ = false; }

    bool Loaded() const { return loaded_; }
    const std::string& Path() const { return path_; }
    TwoWayState& State() { return state_; }
    // Milliseconds spent writing the file since the object was made.
    double WriteMilliseconds() const { return writeMs_; }

private:
    TwoWayState state_;
    std::string path_;
    bool loaded_ = false;
    double writeMs_ = 0;
};

}  // namespace vorlan::filesync
