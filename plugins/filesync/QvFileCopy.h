#pragma once
// CQvFileCopy: one file item run through the file engine without a
// project, for programs that apply a user's choice (the conflict manager
// copying the winning side of a pair over the other). The engine lives as
// long as the object; every call starts the device session again.
#include "ComObject.h"
#include "DispatchImpl.h"
#include "FileSync.h"
#include "SupportErrorInfo.h"
#include "feldane.h"

namespace vorlan::filesync {

class CQvFileCopy : public com::ComObjectRoot,
                    public com::DispatchImpl<IQvFileCopy>,
                    public com::SupportErrorInfoImpl<IQvFileCopy> {
public:
    CQvFileCopy() { engine_.SetVerifyCopies(true); }

    void* FindInterface(REFIID iid) {
        return com::FindInterfaceOf<IQvFileCopy, com::Via<IDispatch, IQvFileCopy>, ISupportErrorInfo>(this, iid);
    }

    // The engine's Init (its failure at once, before any file is touched),
    // then the item. S_OK only when the destination holds the origin's
    // bytes afterwards.
    STDMETHODIMP CeFileCopy(BSTR bstrOrigin, BSTR bstrDest, BSTR bstrAttr, BSTR bstrDownloadAttr) override;

private:
    CFileSync engine_;
};

}  // namespace vorlan::filesync
