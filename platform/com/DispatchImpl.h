#pragma once
// IDispatch for a dual interface, served from the type information of the
// module's embedded type library.
#include <windows.h>
#include <ole2.h>

#include "ComModule.h"

namespace vorlan::com {

template <class Itf>
class DispatchImpl : public Itf {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }

    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return ComModule::Instance().TypeInfo(__uuidof(Itf), info);
    }

    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                               DISPID* ids) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = nullptr;
        HRESULT hr = ComModule::Instance().TypeInfo(__uuidof(Itf), &info);
        if (FAILED(hr)) return hr;
        hr = info->GetIDsOfNames(names, count, ids);
        info->Release();
        return hr;
    }

    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* excep, UINT* argError) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = nullptr;
        HRESULT hr = ComModule::Instance().TypeInfo(__uuidof(Itf), &info);
        if (FAILED(hr)) return hr;
        hr = info->Invoke(static_cast<Itf*>(this), id, flags, params, result, excep, argError);
        info->Release();
        return hr;
    }
};

}  // namespace vorlan::com
