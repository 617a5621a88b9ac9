#include "MySync.h"

#include "Bstr.h"
#include "RegistryByPath.h"

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

void IMySync::InitErrorReport(const GUID& errorGuid) {
    std::string source;
    if (regInfoKey_.empty() || RegReadString(regInfoKey_, source) != ERROR_SUCCESS || source.empty())
        source = "Vorlan";
    errorReport_.Init(errorGuid, nullptr, source.c_str(), 1033, nullptr);
}

HRESULT IMySync::Fail(DWORD eventId, const std::string& insertion, HRESULT hr) {
    if (insertion.empty())
        errorReport_.ReportError(eventId, EVENTLOG_ERROR_TYPE, 0, {});
    else
        errorReport_.ReportErrorWithArg(eventId, EVENTLOG_ERROR_TYPE, 0, insertion);
    return hr;
}

}  // namespace vorlan
