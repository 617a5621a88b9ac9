#pragma once
// Where ActiveSync keeps what its service manager acts on, all below
// HKEY_LOCAL_MACHINE.

namespace vorlan::activesync {

// The synchronisation services (CeUtil's root CESVC_SYNCHRONIZATION).
inline constexpr char kSynchronizationKey[] =
    "Software\\Microsoft\\Windows CE Services\\Services\\Synchronization";
// One subkey per object type; its "Store" value is the provider's ProgID
// and a non-zero DWORD "Disabled" switches the type off.
inline constexpr char kObjectsKey[] = "Software\\Microsoft\\Windows CE Services\\Services\\Synchronization\\Objects";
// Every string value is a command line started when a device connects.
inline constexpr char kAutoStartKey[] = "Software\\Microsoft\\Windows CE Services\\AutoStartOnConnect";

}  // namespace vorlan::activesync
