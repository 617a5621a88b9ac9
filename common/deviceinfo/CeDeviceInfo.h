#pragma once
// Facts about the connected device (processor, operating system, memory,
// storage, owner, name) and the system variables that put them into
// texts: "%DEVICE_NAME%", "%OWNER_NAME%", "%OS_VER%" and the others, so one
// project serves many devices.
//
// Each group of facts (system information, version, memory, storage,
// owner record) is asked for by its first getter after Init or ResetProxy
// and kept until the next reset, also when asking failed; the device name
// is read anew on every call. With no device the getters give what the
// failed calls leave: "Unknown" as name, "0.0" and "0" for the version,
// "UNKNOWN" processor names, empty owner fields and zero sizes.
//
// Text is ANSI; sizes are bytes and print unsigned. One object is used by
// one thread.
#include <windows.h>

#include <string>

#include "CeRapi.h"
#include "DeviceSession.h"
#include "StringMap.h"

namespace vorlan {

class CCeDeviceInfo {
public:
    CCeDeviceInfo();
    CCeDeviceInfo(const CCeDeviceInfo&) = delete;
    CCeDeviceInfo& operator=(const CCeDeviceInfo&) = delete;

    // Opens this object's own device session (waiting at most 2000 ms) and
    // resets the cache: the connection's result. The session ends with the
    // object; a session someone else holds is never ended here.
    HRESULT Init();
    // Forgets what was read, so the next getters ask the device again.
    void ResetProxy();

    long GetProcessorType(std::string& out);
    long GetProcessorArchitecture(std::string& out);
    // Left as it was when the version cannot be read.
    long GetOsPlatformId(std::string& out);
    long GetOsVersion(std::string& out);
    long GetOsBuildNumber(std::string& out);
    // The device registry's HKEY_LOCAL_MACHINE\Ident\Name (at most 127
    // characters), "Unknown" when it cannot be read or is empty.
    long GetDeviceName(std::string& out);
    // The same name, for callers to whom an unread name is no name: S_OK,
    // or the registry's failure (E_FAIL for an empty name) with out empty.
    HRESULT ReadDeviceName(std::string& out);
    long GetOwnerName(std::string& out);
    long GetOwnerCompany(std::string& out);
    long GetOwnerAddress(std::string& out);
    long GetOwnerTelephone(std::string& out);
    long GetOwnerEmail(std::string& out);

    DWORD GetTotalPhysicalMemory();
    DWORD GetAvailablePhysicalMemory();
    // Total less available; 0 when a device reports more available than total.
    DWORD GetUsedPhysicalMemory();
    DWORD GetStorageSize();
    DWORD GetAvailableStorageSize();
    DWORD GetUsedStorageSize();
    // The same sizes as decimal text.
    long GetTotalPhysicalMemory(std::string& out);
    long GetAvailablePhysicalMemory(std::string& out);
    long GetUsedPhysicalMemory(std::string& out);
    long GetStorageSize(std::string& out);
    long GetAvailableStorageSize(std::string& out);
    long GetUsedStorageSize(std::string& out);

    // out = in with every system variable between percent signs replaced by
    // the device's value. Names match exactly, in upper case as listed
    // (PROCESSOR_TYPE, PLATFORM_ID, OS_VER, OS_BUILD_NUMBER,
    // PROCESSOR_ARCHITECTURE, TOT_PHYS_MEM, AVAIL_MEM, USED_MEM,
    // TOT_STORAGE, AVAIL_STORAGE, USED_STORAGE, OWNER_NAME, OWNER_COMANY,
    // OWNER_ADDRESS, OWNER_TELEPHONE, OWNER_EMAIL, DEVICE_NAME, and
    // OWNER_NAME_URL, OWNER_COMANY_URL, OWNER_ADDRESS_URL,
    // OWNER_TELEPHONE_URL, OWNER_EMAIL_URL, DEVICE_NAME_URL escaped for use
    // in a URL path); other names stay as written, and environment
    // variables are left alone. A text without a percent sign is copied
    // without asking the device.
    long ReplaceSystemVariables(const std::string& in, std::string& out);
    // Every one of those variables (names without the percent signs) with
    // the device's current value, for callers that put the values into
    // text of their own kind.
    StringMap SystemVariables();

private:
    struct Owner {
        std::string name, company, address, telephone, email;
    };
    const SYSTEM_INFO& SystemInfo();
    // Null when the version could not be read.
    const CEOSVERSIONINFO* Version();
    const MEMORYSTATUS& Memory();
    const STORE_INFORMATION& Store();
    const Owner& OwnerRecord();

    DeviceSession session_;
    SYSTEM_INFO systemInfo_;
    CEOSVERSIONINFO version_;
    bool versionRead_ = false;
    MEMORYSTATUS memory_;
    STORE_INFORMATION store_;
    Owner owner_;
    std::string deviceName_;
    bool haveSystemInfo_ = false, haveVersion_ = false, haveMemory_ = false, haveStore_ = false,
         haveOwner_ = false;
};

}  // namespace vorlan
