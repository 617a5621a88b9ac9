#pragma once
// What the service manager can be told, by window messages sent to its
// "DccMan" window or on its command line (ServiceManager /connect /sync ...;
// a second instance forwards its commands to the running one and waits for
// them). Each message answers an HRESULT when it has been carried out.
#include <windows.h>

namespace vorlan::activesync {

// A device connected: start the auto-start programs, load the enabled
// providers and synchronise once.
inline constexpr UINT kDeviceConnectedMessage = WM_APP + 0x100;
// Synchronise now (a device must be connected).
inline constexpr UINT kSynchronizeMessage = WM_APP + 0x101;
// The device went away: the providers are released.
inline constexpr UINT kDeviceDisconnectedMessage = WM_APP + 0x102;

}  // namespace vorlan::activesync
