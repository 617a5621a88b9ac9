#include "ReplNotify.h"

#include <string>

namespace vorlan::activesync {

HRESULT ReplNotify::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = IsEqualIID(iid, IID_IUnknown) ? static_cast<IUnknown*>(this) : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
}

HRESULT ReplNotify::SetStatusText(LPSTR lpszText) {
    journal_.Write({"notify", "SetStatusText", lpszText ? lpszText : ""});
    return S_OK;
}

HWND ReplNotify::GetWindow(UINT uFlags) {
    journal_.Write({"notify", "GetWindow", std::to_string(uFlags)});
    return FindWindowA(nullptr, "DccMan");
}

HRESULT ReplNotify::OnItemNotify(UINT uCode, LPSTR lpszProgId, LPSTR lpszName, HREPLITEM, ULONG ulFlags) {
    journal_.Write({"notify", "OnItemNotify", std::to_string(uCode), lpszProgId ? lpszProgId : "",
                    lpszName ? lpszName : "", std::to_string(ulFlags)});
    return S_OK;
}

HRESULT ReplNotify::QueryDevice(UINT uCode, LPVOID* ppvData) {
    journal_.Write({"notify", "QueryDevice", std::to_string(uCode)});
    if (ppvData) *ppvData = nullptr;
    return E_NOTIMPL;
}

}  // namespace vorlan::activesync
