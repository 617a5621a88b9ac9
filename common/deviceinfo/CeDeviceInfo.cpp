#include "CeDeviceInfo.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "Bstr.h"
#include "DeviceFactNames.h"
#include "DeviceRegistry.h"
#include "MapReplacer.h"
#include "OwnerRecord.h"
#include "StringMap.h"
#include "UrlEscape.h"

namespace vorlan {

namespace {

constexpr char kDeviceNamePath[] = "HKEY_LOCAL_MACHINE\\Ident\\Name";
constexpr char kOwnerPath[] = "HKEY_CURRENT_USER\\ControlPanel\\Owner\\Owner";
constexpr size_t kDeviceNameChars = 128;

long Text(std::string& out, std::string_view text) {
    out.assign(text);
    return 0;
}

long Number(std::string& out, DWORD value) { return Text(out, std::to_string(value)); }

DWORD Difference(DWORD total, DWORD available) { return total > available ? total - available : 0; }

}  // namespace

CCeDeviceInfo::CCeDeviceInfo() { ResetProxy(); }

HRESULT CCeDeviceInfo::Init() {
    HRESULT hr = session_.Open(kDeviceWaitMs);
    ResetProxy();
    return hr;
}

void CCeDeviceInfo::ResetProxy() {
    haveSystemInfo_ = haveVersion_ = haveMemory_ = haveStore_ = haveOwner_ = false;
}

const SYSTEM_INFO& CCeDeviceInfo::SystemInfo() {
    if (!haveSystemInfo_) {
        // The call reports no failure: what it leaves is what it gives, so
        // an unanswered call names no processor.
        systemInfo_ = {};
        systemInfo_.wProcessorArchitecture = PROCESSOR_ARCHITECTURE_UNKNOWN;
        CeGetSystemInfo(&systemInfo_);
        haveSystemInfo_ = true;
    }
    return systemInfo_;
}

const CEOSVERSIONINFO* CCeDeviceInfo::Version() {
    if (!haveVersion_) {
        version_ = {};
        version_.dwOSVersionInfoSize = sizeof version_;
        versionRead_ = CeGetVersionEx(&version_) != FALSE;
        haveVersion_ = true;
    }
    return versionRead_ ? &version_ : nullptr;
}

const MEMORYSTATUS& CCeDeviceInfo::Memory() {
    if (!haveMemory_) {
        memory_ = {};
        memory_.dwLength = sizeof memory_;
        CeGlobalMemoryStatus(&memory_);
        haveMemory_ = true;
    }
    return memory_;
}

const STORE_INFORMATION& CCeDeviceInfo::Store() {
    if (!haveStore_) {
        if (!CeGetStoreInformation(&store_)) store_ = {};
        haveStore_ = true;
    }
    return store_;
}

const CCeDeviceInfo::Owner& CCeDeviceInfo::OwnerRecord() {
    if (!haveOwner_) {
        Char16 record[kOwnerRecordChars] = {};
        DWORD type = 0, size = sizeof record;
        // An absent or unreadable record reads as empty fields.
        if (CeRegQueryValueByPath(kOwnerPath, reinterpret_cast<BYTE*>(record), &type, &size) != ERROR_SUCCESS)
            std::fill(std::begin(record), std::end(record), Char16(0));
        OwnerFields fields = ReadOwnerRecord(record);
        owner_ = {com::AnsiFromWide(fields.name), com::AnsiFromWide(fields.company),
                  com::AnsiFromWide(fields.address), com::AnsiFromWide(fields.telephone),
                  com::AnsiFromWide(fields.email)};
        haveOwner_ = true;
    }
    return owner_;
}

long CCeDeviceInfo::GetProcessorType(std::string& out) { return Text(out, ProcessorTypeName(SystemInfo().dwProcessorType)); }

long CCeDeviceInfo::GetProcessorArchitecture(std::string& out) {
    return Text(out, ProcessorArchitectureName(SystemInfo().wProcessorArchitecture));
}

long CCeDeviceInfo::GetOsPlatformId(std::string& out) {
    if (const CEOSVERSIONINFO* v = Version()) Text(out, PlatformIdName(v->dwPlatformId));
    return 0;
}

long CCeDeviceInfo::GetOsVersion(std::string& out) {
    const CEOSVERSIONINFO* v = Version();
    return Text(out, v ? std::to_string(v->dwMajorVersion) + "." + std::to_string(v->dwMinorVersion) : "0.0");
}

long CCeDeviceInfo::GetOsBuildNumber(std::string& out) {
    const CEOSVERSIONINFO* v = Version();
    return Number(out, v ? v->dwBuildNumber : 0);
}

long CCeDeviceInfo::GetDeviceName(std::string& out) {
    std::string name;
    deviceName_ = SUCCEEDED(ReadDeviceName(name)) ? name : "Unknown";
    return Text(out, deviceName_);
}

HRESULT CCeDeviceInfo::ReadDeviceName(std::string& out) {
    out.clear();
    wchar_t name[kDeviceNameChars];
    const LONG read = CeRegReadString(kDeviceNamePath, name, kDeviceNameChars);
    if (read != ERROR_SUCCESS) return read == -1 ? E_FAIL : HRESULT_FROM_WIN32(read);
    if (!name[0]) return E_FAIL;
    out = com::AnsiFromWide(name);
    return S_OK;
}

long CCeDeviceInfo::GetOwnerName(std::string& out) { return Text(out, OwnerRecord().name); }
long CCeDeviceInfo::GetOwnerCompany(std::string& out) { return Text(out, OwnerRecord().company); }
long CCeDeviceInfo::GetOwnerAddress(std::string& out) { return Text(out, OwnerRecord().address); }
long CCeDeviceInfo::GetOwnerTelephone(std::string& out) { return Text(out, OwnerRecord().telephone); }
long CCeDeviceInfo::GetOwnerEmail(std::string& out) { return Text(out, OwnerRecord().email); }

DWORD CCeDeviceInfo::GetTotalPhysicalMemory() { return static_cast<DWORD>(Memory().dwTotalPhys); }
DWORD CCeDeviceInfo::GetAvailablePhysicalMemory() { return static_cast<DWORD>(Memory().dwAvailPhys); }
DWORD CCeDeviceInfo::GetUsedPhysicalMemory() {
    return Difference(GetTotalPhysicalMemory(), GetAvailablePhysicalMemory());
}
DWORD CCeDeviceInfo::GetStorageSize() { return Store().dwStoreSize; }
DWORD CCeDeviceInfo::GetAvailableStorageSize() { return Store().dwFreeSize; }
DWORD CCeDeviceInfo::GetUsedStorageSize() { return Difference(GetStorageSize(), GetAvailableStorageSize()); }

long CCeDeviceInfo::GetTotalPhysicalMemory(std::string& out) { return Number(out, GetTotalPhysicalMemory()); }
long CCeDeviceInfo::GetAvailablePhysicalMemory(std::string& out) { return Number(out, GetAvailablePhysicalMemory()); }
long CCeDeviceInfo::GetUsedPhysicalMemory(std::string& out) { return Number(out, GetUsedPhysicalMemory()); }
long CCeDeviceInfo::GetStorageSize(std::string& out) { return Number(out, GetStorageSize()); }
long CCeDeviceInfo::GetAvailableStorageSize(std::string& out) { return Number(out, GetAvailableStorageSize()); }
long CCeDeviceInfo::GetUsedStorageSize(std::string& out) { return Number(out, GetUsedStorageSize()); }

long CCeDeviceInfo::ReplaceSystemVariables(const std::string& in, std::string& out) {
    if (in.find('%') == std::string::npos) return Text(out, in);
    StringMap variables = SystemVariables();
    return Text(out, CMapReplacer(&variables).Expand(in));
}

StringMap CCeDeviceInfo::SystemVariables() {
    StringMap variables;
    auto set = [&](const char* name, long (CCeDeviceInfo::*getter)(std::string&)) {
        std::string value;
        (this->*getter)(value);
        variables.Set(name, value);
        return value;
    };
    set("PROCESSOR_TYPE", &CCeDeviceInfo::GetProcessorType);
    set("PLATFORM_ID", &CCeDeviceInfo::GetOsPlatformId);
    set("OS_VER", &CCeDeviceInfo::GetOsVersion);
    set("OS_BUILD_NUMBER", &CCeDeviceInfo::GetOsBuildNumber);
    set("PROCESSOR_ARCHITECTURE", &CCeDeviceInfo::GetProcessorArchitecture);
    set("TOT_PHYS_MEM", &CCeDeviceInfo::GetTotalPhysicalMemory);
    set("AVAIL_MEM", &CCeDeviceInfo::GetAvailablePhysicalMemory);
    set("USED_MEM", &CCeDeviceInfo::GetUsedPhysicalMemory);
    set("TOT_STORAGE", &CCeDeviceInfo::GetStorageSize);
    set("AVAIL_STORAGE", &CCeDeviceInfo::GetAvailableStorageSize);
    set("USED_STORAGE", &CCeDeviceInfo::GetUsedStorageSize);
    // Each of these also in a form that can stand in a URL path.
    const std::pair<const char*, long (CCeDeviceInfo::*)(std::string&)> escaped[] = {
        {"OWNER_NAME", &CCeDeviceInfo::GetOwnerName},
        {"OWNER_COMANY", &CCeDeviceInfo::GetOwnerCompany},
        {"OWNER_ADDRESS", &CCeDeviceInfo::GetOwnerAddress},
        {"OWNER_TELEPHONE", &CCeDeviceInfo::GetOwnerTelephone},
        {"OWNER_EMAIL", &CCeDeviceInfo::GetOwnerEmail},
        {"DEVICE_NAME", &CCeDeviceInfo::GetDeviceName},
    };
    for (const auto& [name, getter] : escaped) {
        std::string value = set(name, getter);
        variables.Set(std::string(name) + "_URL", EscapeForUrl(value));
    }
    return variables;
}

}  // namespace vorlan
