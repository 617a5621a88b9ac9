#pragma once
// CQvRegistry: the registry operations for scripts (IQvRegistry). Each
// CeRegistry call initialises the object's own engine (which ends the
// session of the previous call before it starts the next) and applies one
// item.
#include <windows.h>
#include <ole2.h>

#include "Bstr.h"
#include "ComCall.h"
#include "ComObject.h"
#include "DispatchImpl.h"
#include "ModuleState.h"
#include "RegSync.h"
#include "SupportErrorInfo.h"
#include "tolvane.h"

namespace vorlan::regsync {

class CQvRegistry : public com::ComObjectRoot,
                    public com::DispatchImpl<IQvRegistry>,
                    public com::SupportErrorInfoImpl<IQvRegistry> {
public:
    void* FindInterface(REFIID iid) {
        return com::FindInterfaceOf<IQvRegistry, com::Via<IDispatch, IQvRegistry>, ISupportErrorInfo>(this, iid);
    }

    STDMETHODIMP CeRegistry(BSTR bstrKey, BSTR bstrValue, BSTR bstrType) override {
        ModuleStateGuard state(com::ComModule::Instance().Handle());
        return com::ComCall([&] {
            if (HRESULT hr = engine_.Init(); FAILED(hr)) return hr;
            return engine_.ApplyRegistryItem(com::AnsiFromBstr(bstrKey), com::AnsiFromBstr(bstrValue),
                                             com::AnsiFromBstr(bstrType));
        });
    }

private:
    CRegSync engine_;
};

}  // namespace vorlan::regsync
