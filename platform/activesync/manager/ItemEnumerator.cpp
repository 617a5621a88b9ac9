#include "ItemEnumerator.h"

namespace vorlan::activesync {

ItemEnumerator* ItemEnumerator::Create(HREPLFLD folder, std::vector<HREPLITEM> items) {
    return new (std::nothrow) ItemEnumerator(folder, std::move(items));
}

STDMETHODIMP ItemEnumerator::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown)) return E_NOINTERFACE;
    *out = static_cast<IUnknown*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ItemEnumerator::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) ItemEnumerator::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP ItemEnumerator::Next(ULONG celt, HREPLITEM* phItem, ULONG* pceltFetched) {
    if (!phItem || (celt > 1 && !pceltFetched)) return E_POINTER;
    ULONG fetched = 0;
    while (fetched < celt && next_ < items_.size()) phItem[fetched++] = items_[next_++];
    if (pceltFetched) *pceltFetched = fetched;
    return fetched == celt ? S_OK : S_FALSE;
}

STDMETHODIMP ItemEnumerator::Skip(ULONG celt) {
    const size_t left = items_.size() - next_;
    next_ += celt < left ? celt : left;
    return celt <= left ? S_OK : S_FALSE;
}

STDMETHODIMP ItemEnumerator::Reset() {
    next_ = 0;
    return S_OK;
}

STDMETHODIMP ItemEnumerator::Clone(IEnumReplItem** ppenum) {
    if (!ppenum) return E_POINTER;
    ItemEnumerator* copy = Create(folder_, items_);
    *ppenum = copy;
    if (!copy) return E_OUTOFMEMORY;
    copy->next_ = next_;
    return S_OK;
}

}  // namespace vorlan::activesync
