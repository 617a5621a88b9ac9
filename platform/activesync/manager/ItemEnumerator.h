#pragma once
// The items of one folder as a provider's dialog gets them
// (IEnumReplItem). It holds copies of the handles only: the session owns
// the items.
#include <windows.h>

#include <vector>

#include "ReplStore.h"

namespace vorlan::activesync {

class ItemEnumerator : public IEnumReplItem {
public:
    // A new enumerator with one reference.
    static ItemEnumerator* Create(HREPLFLD folder, std::vector<HREPLITEM> items);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Next(ULONG celt, HREPLITEM* phItem, ULONG* pceltFetched) override;
    STDMETHODIMP Skip(ULONG celt) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumReplItem** ppenum) override;
    HREPLFLD STDMETHODCALLTYPE GetFolderHandle() override { return folder_; }

private:
    ItemEnumerator(HREPLFLD folder, std::vector<HREPLITEM> items) : folder_(folder), items_(std::move(items)) {}
    virtual ~ItemEnumerator() = default;

    LONG references_ = 1;
    HREPLFLD folder_;
    std::vector<HREPLITEM> items_;
    size_t next_ = 0;
};

}  // namespace vorlan::activesync
