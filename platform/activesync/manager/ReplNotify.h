#pragma once
// The service manager's side of a provider: it journals every call a
// provider makes of it.
#include "Journal.h"
#include "ReplStore.h"

namespace vorlan::activesync {

class ReplNotify final : public IReplNotify {
public:
    explicit ReplNotify(const Journal& journal) : journal_(journal) {}

    // Answers IUnknown only: providers keep it and call it, they never ask
    // it for anything else.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    // Owned by the service manager, which outlives every provider.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE SetStatusText(LPSTR lpszText) override;
    HWND STDMETHODCALLTYPE GetWindow(UINT uFlags) override;
    HRESULT STDMETHODCALLTYPE OnItemNotify(UINT uCode, LPSTR lpszProgId, LPSTR lpszName, HREPLITEM hItem,
                                           ULONG ulFlags) override;
    HRESULT STDMETHODCALLTYPE QueryDevice(UINT uCode, LPVOID* ppvData) override;

private:
    const Journal& journal_;
};

}  // namespace vorlan::activesync
