#pragma once
// Where the desktop keeps the two-way state of the connected device:
// %APPDATA%\Dravenhall\Vorlan\TwoWaySyncData-<device name>.ini.
#include <windows.h>

#include <string>

namespace vorlan {

// The state file's path, creating its two folders when they are missing.
// The device name comes from a session of its own. No device, or a name
// that cannot be read, is that failure (nothing is made); E_FAIL when
// %APPDATA% does not expand, the device name is no plain file name or the
// path does not fit MAX_PATH; a folder that cannot be created gives its
// error.
HRESULT GetTwoWaySyncDataPath(std::string& path);
// Deletes the state file; S_OK also when there is none.
HRESULT DeleteTwoWaySyncData();

}  // namespace vorlan
