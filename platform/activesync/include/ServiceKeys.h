#pragma once
// Where ActiveSync keeps what its service manager acts on: below
// HKEY_LOCAL_MACHINE, except the partnerships, which are the user's.

namespace vorlan::activesync {

// The synchronisation services of the machine.
inline constexpr char kSynchronizationKey[] =
    "Software\\Microsoft\\Windows CE Services\\Services\\Synchronization";
// One subkey per object type; its "Store" value is the provider's ProgID
// and a non-zero DWORD "Disabled" switches the type off.
inline constexpr char kObjectsKey[] = "Software\\Microsoft\\Windows CE Services\\Services\\Synchronization\\Objects";
// Every string value is a command line started when a device connects.
inline constexpr char kAutoStartKey[] = "Software\\Microsoft\\Windows CE Services\\AutoStartOnConnect";

// HKEY_CURRENT_USER: one subkey "P<number>" per device partnership, each
// with its own "Services\Synchronization" (CeUtil's root
// CESVC_SYNCHRONIZATION while that device is connected). The DWORD
// kCurrentPartnerValue names the connected device's partnership and is
// there only while a device is connected.
inline constexpr char kPartnersKey[] = "Software\\Microsoft\\Windows CE Services\\Partners";
inline constexpr char kCurrentPartnerValue[] = "CurrentPartner";
inline constexpr char kPartnerSynchronizationKey[] = "Services\\Synchronization";

}  // namespace vorlan::activesync
