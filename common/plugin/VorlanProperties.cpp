#include "VorlanProperties.h"

#include <string>

namespace vorlan {

HRESULT LoadStringBstr(UINT id, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadStringW hands out the resource text itself.
    int length = LoadStringW(CurrentResourceModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
    *out = SysAllocStringLen(text, static_cast<UINT>(length));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT MakeFieldNames(const char* const* fields, int count, IInfoNode** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    com::ComPtr<IInfoNode> node;
    HRESULT hr = com::CreateInstance(CLSID_InfoNode, node);
    if (FAILED(hr)) return hr;
    for (int i = 0; i < count; ++i) {
        hr = node->SetAt(com::Bstr::FromAnsi(std::to_string(i)).Get(),
                         com::Bstr::FromAnsi(fields[i]).Get());
        if (FAILED(hr)) return hr;
    }
    *out = node.Detach();
    return S_OK;
}

}  // namespace vorlan
