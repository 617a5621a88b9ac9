#pragma once
// CDeviceInfo: the connected device's facts for scripts and other
// automation clients. Strings follow COM's rule for [out] parameters: a new
// BSTR is handed out and what the caller's variable held is not read.
#include "CeDeviceInfo.h"
#include "ComObject.h"
#include "DispatchImpl.h"
#include "SupportErrorInfo.h"
#include "corvath.h"

namespace vorlan {

class CDeviceInfo : public com::ComObjectRoot,
                    public com::DispatchImpl<IDeviceInfo>,
                    public com::SupportErrorInfoImpl<IDeviceInfo> {
public:
    void* FindInterface(REFIID iid) {
        return com::FindInterfaceOf<IDeviceInfo, com::Via<IDispatch, IDeviceInfo>, ISupportErrorInfo>(this,
                                                                                                     iid);
    }

    STDMETHODIMP Init() override;
    STDMETHODIMP ResetProxy() override;
    STDMETHODIMP get_ProcessorType(BSTR* pVal) override;
    STDMETHODIMP get_ProcessorArchitecture(BSTR* pVal) override;
    STDMETHODIMP get_OsPlatformId(BSTR* pVal) override;
    STDMETHODIMP get_OsVersion(BSTR* pVal) override;
    STDMETHODIMP get_OsBuildNumber(BSTR* pVal) override;
    STDMETHODIMP get_OwnerName(BSTR* pVal) override;
    STDMETHODIMP get_OwnerCompany(BSTR* pVal) override;
    STDMETHODIMP get_OwnerAddress(BSTR* pVal) override;
    STDMETHODIMP get_OwnerTelephone(BSTR* pVal) override;
    STDMETHODIMP get_OwnerEmail(BSTR* pVal) override;
    // The device gives no serial number: always E_FAIL, *pVal NULL.
    STDMETHODIMP get_DeviceSerialNumber(BSTR* pVal) override;
    STDMETHODIMP get_DeviceName(BSTR* pVal) override;
    STDMETHODIMP get_TotalPhysicalMemory(ULONG* pVal) override;
    STDMETHODIMP get_AvailablePhysicalMemory(ULONG* pVal) override;
    STDMETHODIMP get_UsedPhysicalMemory(ULONG* pVal) override;
    STDMETHODIMP get_StorageSize(ULONG* pVal) override;
    STDMETHODIMP get_AvailableStorageSize(ULONG* pVal) override;
    STDMETHODIMP get_UsedStorageSize(ULONG* pVal) override;

private:
    using TextGetter = long (CCeDeviceInfo::*)(std::string&);
    using SizeGetter = DWORD (CCeDeviceInfo::*)();
    HRESULT Text(TextGetter getter, BSTR* out);
    HRESULT Size(SizeGetter getter, ULONG* out);

    CCeDeviceInfo info_;
};

}  // namespace vorlan
