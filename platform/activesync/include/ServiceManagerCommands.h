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

// The options of every loaded provider, one after the other (each
// provider's ActivateDialog 0, owned by the "DccMan" window); answered when
// the last dialog closed. HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED) without a
// device, since providers are loaded for a connected device only.
inline constexpr UINT kShowOptionsMessage = WM_APP + 0x103;

}  // namespace vorlan::activesync
