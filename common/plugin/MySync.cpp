#include "MySync.h"

#include "Bstr.h"

namespace vorlan {
namespace {

HRESULT Hand(const std::string& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = com::AllocBstrFromAnsi(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

HRESULT IMySync::get_RegInfoKey(BSTR* pVal) { return Hand(regInfoKey_, pVal); }

HRESULT IMySync::put_RegInfoKey(BSTR newVal) {
    regInfoKey_ = com::AnsiFromBstr(newVal);
    return S_OK;
}

HRESULT IMySync::get_ParentUrl(BSTR* pVal) { return Hand(parentUrl_, pVal); }

HRESULT IMySync::put_ParentUrl(BSTR newVal) {
    parentUrl_ = com::AnsiFromBstr(newVal);
    return S_OK;
}

}  // namespace vorlan
