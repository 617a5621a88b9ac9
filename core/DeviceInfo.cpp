#include "DeviceInfo.h"

#include "Bstr.h"
#include "ComCall.h"
#include "ModuleState.h"

namespace vorlan {

HRESULT CDeviceInfo::Text(TextGetter getter, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ModuleStateGuard state(com::ComModule::Instance().Handle());
    return com::ComCall([&] {
        std::string text;
        (info_.*getter)(text);
        *out = com::AllocBstrFromAnsi(text.c_str());
        return *out ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT CDeviceInfo::Size(SizeGetter getter, ULONG* out) {
    if (!out) return E_POINTER;
    ModuleStateGuard state(com::ComModule::Instance().Handle());
    return com::ComCall([&] {
        *out = (info_.*getter)();
        return S_OK;
    });
}

STDMETHODIMP CDeviceInfo::Init() {
    ModuleStateGuard state(com::ComModule::Instance().Handle());
    return com::ComCall([&] { return info_.Init(); });
}

STDMETHODIMP CDeviceInfo::ResetProxy() {
    info_.ResetProxy();
    return S_OK;
}

STDMETHODIMP CDeviceInfo::get_ProcessorType(BSTR* pVal) { return Text(&CCeDeviceInfo::GetProcessorType, pVal); }
STDMETHODIMP CDeviceInfo::get_ProcessorArchitecture(BSTR* pVal) {
    return Text(&CCeDeviceInfo::GetProcessorArchitecture, pVal);
}
STDMETHODIMP CDeviceInfo::get_OsPlatformId(BSTR* pVal) { return Text(&CCeDeviceInfo::GetOsPlatformId, pVal); }
STDMETHODIMP CDeviceInfo::get_OsVersion(BSTR* pVal) { return Text(&CCeDeviceInfo::GetOsVersion, pVal); }
STDMETHODIMP CDeviceInfo::get_OsBuildNumber(BSTR* pVal) { return Text(&CCeDeviceInfo::GetOsBuildNumber, pVal); }
STDMETHODIMP CDeviceInfo::get_OwnerName(BSTR* pVal) { return Text(&CCeDeviceInfo::GetOwnerName, pVal); }
STDMETHODIMP CDeviceInfo::get_OwnerCompany(BSTR* pVal) { return Text(&CCeDeviceInfo::GetOwnerCompany, pVal); }
STDMETHODIMP CDeviceInfo::get_OwnerAddress(BSTR* pVal) { return Text(&CCeDeviceInfo::GetOwnerAddress, pVal); }
STDMETHODIMP CDeviceInfo::get_OwnerTelephone(BSTR* pVal) { return Text(&CCeDeviceInfo::GetOwnerTelephone, pVal); }
STDMETHODIMP CDeviceInfo::get_OwnerEmail(BSTR* pVal) { return Text(&CCeDeviceInfo::GetOwnerEmail, pVal); }

STDMETHODIMP CDeviceInfo::get_DeviceSerialNumber(BSTR* pVal) {
    if (pVal) *pVal = nullptr;
    return E_FAIL;
}

STDMETHODIMP CDeviceInfo::get_DeviceName(BSTR* pVal) {
    return Text(static_cast<TextGetter>(&CCeDeviceInfo::GetDeviceName), pVal);
}

STDMETHODIMP CDeviceInfo::get_TotalPhysicalMemory(ULONG* pVal) {
    return Size(&CCeDeviceInfo::GetTotalPhysicalMemory, pVal);
}
STDMETHODIMP CDeviceInfo::get_AvailablePhysicalMemory(ULONG* pVal) {
    return Size(&CCeDeviceInfo::GetAvailablePhysicalMemory, pVal);
}
STDMETHODIMP CDeviceInfo::get_UsedPhysicalMemory(ULONG* pVal) {
    return Size(&CCeDeviceInfo::GetUsedPhysicalMemory, pVal);
}
STDMETHODIMP CDeviceInfo::get_StorageSize(ULONG* pVal) { return Size(&CCeDeviceInfo::GetStorageSize, pVal); }
STDMETHODIMP CDeviceInfo::get_AvailableStorageSize(ULONG* pVal) {
    return Size(&CCeDeviceInfo::GetAvailableStorageSize, pVal);
}
STDMETHODIMP CDeviceInfo::get_UsedStorageSize(ULONG* pVal) {
    return Size(&CCeDeviceInfo::GetUsedStorageSize, pVal);
}

}  // namespace vorlan
