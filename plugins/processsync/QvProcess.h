#pragma once
// CQvProcess: device programs, message boxes and notifications for scripts
// (IQvProcess). Each call initialises the object's own engine (which ends
// the session of the previous call before it starts the next) first.
#include <windows.h>
#include <ole2.h>

#include "Bstr.h"
#include "ComCall.h"
#include "ComObject.h"
#include "DispatchImpl.h"
#include "ModuleState.h"
#include "ProcessSync.h"
#include "SupportErrorInfo.h"
#include "wendric.h"

namespace vorlan::processsync {

class CQvProcess : public com::ComObjectRoot,
                   public com::DispatchImpl<IQvProcess>,
                   public com::SupportErrorInfoImpl<IQvProcess> {
public:
    void* FindInterface(REFIID iid) {
        return com::FindInterfaceOf<IQvProcess, com::Via<IDispatch, IQvProcess>, ISupportErrorInfo>(this, iid);
    }

    STDMETHODIMP CeProcess(BSTR bstrProcID, BSTR bstrType) override {
        return Run([&] { return engine_.ApplyProcessItem(com::AnsiFromBstr(bstrProcID), com::AnsiFromBstr(bstrType)); });
    }
    STDMETHODIMP Notification(BSTR bstrMsg, BSTR bstrTitle, unsigned long dwFlags,
                              unsigned long dwDuration) override {
        return Run([&] { return engine_.SendDeviceNotification(Wide(bstrMsg), Wide(bstrTitle), dwFlags, dwDuration); });
    }
    STDMETHODIMP MessageBox(BSTR bstrMsg, BSTR bstrTitle, unsigned long dwFlags) override {
        return Run([&] { return engine_.ShowDeviceMessageBox(Wide(bstrMsg), Wide(bstrTitle), dwFlags); });
    }

private:
    static std::wstring Wide(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }
    template <class Work>
    HRESULT Run(Work work) {
        ModuleStateGuard state(com::ComModule::Instance().Handle());
        return com::ComCall([&] {
            if (HRESULT hr = engine_.Init(); FAILED(hr)) return hr;
            return work();
        });
    }

    CProcessSync engine_;
};

}  // namespace vorlan::processsync
