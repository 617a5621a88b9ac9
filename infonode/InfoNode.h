#pragma once
// CInfoNode: the property bag object behind IInfoNode, one case-sensitive
// ANSI string map per object.
#include "ComObject.h"
#include "DispatchImpl.h"
#include "StringMap.h"
#include "pindrel.h"

namespace vorlan {

class CInfoNode : public com::ComObjectRoot, public com::DispatchImpl<IInfoNode> {
public:
    void* FindInterface(REFIID iid) {
        return com::FindInterfaceOf<IInfoNode, com::Via<IDispatch, IInfoNode>>(this, iid);
    }

    STDMETHODIMP GetProperty(BSTR bstrProp, BSTR* pbstrResult) override;
    STDMETHODIMP SetAt(BSTR bstrKey, BSTR bstrNewValue) override;
    STDMETHODIMP TranslateStrWithVars(BSTR bstrOriginal, BSTR* pbstrResult,
                                      int* piRetCode) override;

private:
    StringMap values_;
};

}  // namespace vorlan
