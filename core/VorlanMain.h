#pragma once
// CVorlanMain: the core's entry object, created by every front end, which
// calls Init and then Sync for one synchronisation.
#include "ComObject.h"
#include "DispatchImpl.h"
#include "SupportErrorInfo.h"
#include "SyncCore.h"
#include "corvath.h"

namespace vorlan {

class CVorlanMain : public com::ComObjectRoot,
                    public com::DispatchImpl<IVorlanMain>,
                    public com::SupportErrorInfoImpl<IVorlanMain> {
public:
    void* FindInterface(REFIID iid) {
        return com::FindInterfaceOf<IVorlanMain, com::Via<IDispatch, IVorlanMain>,
                                    ISupportErrorInfo>(this, iid);
    }

    STDMETHODIMP Init() override;
    STDMETHODIMP Sync(BSTR bstrURL) override;
    STDMETHODIMP ConfigurationDlgBox() override;

private:
    CSyncCore core_;
};

}  // namespace vorlan
