#pragma once
// CQvShortcut: device shortcuts for scripts (IQvShortcut). Each call
// initialises the object's own engine (which ends the session of the
// previous call before it starts the next) first.
#include <windows.h>
#include <ole2.h>

#include "Bstr.h"
#include "ComCall.h"
#include "ComObject.h"
#include "DispatchImpl.h"
#include "ModuleState.h"
#include "Shortcut.h"
#include "SupportErrorInfo.h"
#include "quorran.h"

namespace vorlan::shortcutsync {

class CQvShortcut : public com::ComObjectRoot,
                    public com::DispatchImpl<IQvShortcut>,
                    public com::SupportErrorInfoImpl<IQvShortcut> {
public:
    void* FindInterface(REFIID iid) {
        return com::FindInterfaceOf<IQvShortcut, com::Via<IDispatch, IQvShortcut>, ISupportErrorInfo>(this, iid);
    }

    STDMETHODIMP CreateShortcut(BSTR bstrShortcut, BSTR bstrTarget) override {
        ModuleStateGuard state(com::ComModule::Instance().Handle());
        return com::ComCall([&] {
            if (HRESULT hr = engine_.Init(); FAILED(hr)) return hr;
            return engine_.CreateShortcut(com::AnsiFromBstr(bstrShortcut), com::AnsiFromBstr(bstrTarget));
        });
    }

private:
    CShortcut engine_;
};

}  // namespace vorlan::shortcutsync
