#include "InfoNode.h"

#include "Bstr.h"
#include "ComCall.h"
#include "ModuleState.h"
#include "VariableExpansion.h"

namespace vorlan {

using com::AllocBstrFromAnsi;
using com::AnsiFromBstr;
using com::ComCall;
using com::ComModule;

// A NULL out pointer is refused rather than written through; every other
// call answers S_OK, as callers expect.
STDMETHODIMP CInfoNode::GetProperty(BSTR bstrProp, BSTR* pbstrResult) {
    ModuleStateGuard state(ComModule::Instance().Handle());
    return ComCall([&]() -> HRESULT {
        if (!pbstrResult) return E_POINTER;
        *pbstrResult = AllocBstrFromAnsi(values_[AnsiFromBstr(bstrProp)]);
        return *pbstrResult ? S_OK : E_OUTOFMEMORY;
    });
}

STDMETHODIMP CInfoNode::SetAt(BSTR bstrKey, BSTR bstrNewValue) {
    ModuleStateGuard state(ComModule::Instance().Handle());
    return ComCall([&] {
        values_.Set(AnsiFromBstr(bstrKey), AnsiFromBstr(bstrNewValue));
        return S_OK;
    });
}

STDMETHODIMP CInfoNode::TranslateStrWithVars(BSTR bstrOriginal, BSTR* pbstrResult,
                                             int* piRetCode) {
    ModuleStateGuard state(ComModule::Instance().Handle());
    return ComCall([&]() -> HRESULT {
        if (!pbstrResult || !piRetCode) return E_POINTER;
        *pbstrResult = nullptr;
        Expansion expanded = ExpandVariables(AnsiFromBstr(bstrOriginal), values_);
        *pbstrResult = AllocBstrFromAnsi(expanded.text);
        if (!*pbstrResult) return E_OUTOFMEMORY;
        *piRetCode = expanded.nonEmptyFound > 0 ? 1 : 0;
        return S_OK;
    });
}

}  // namespace vorlan
