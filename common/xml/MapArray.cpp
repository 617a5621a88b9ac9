#include "MapArray.h"

#include "Bstr.h"
#include "ComPtr.h"
#include "pindrel.h"

namespace vorlan {

StringMap* CMapArray::GetRow(int i) const {
    if (i < 0 || i >= GetSize()) return nullptr;
    return rows_[static_cast<size_t>(i)].get();
}

int CMapArray::Add(std::unique_ptr<StringMap> row) {
    rows_.push_back(std::move(row));
    return GetSize() - 1;
}

int CMapArray::DeleteRows() {
    for (auto& row : rows_) row.reset();
    return 0;
}

HRESULT CMapArray::GetRowInfoNode(int i, IInfoNode** out) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    const StringMap* row = GetRow(i);
    if (!row) return S_FALSE;
    com::ComPtr<IInfoNode> node;
    HRESULT hr = com::CreateInstance(CLSID_InfoNode, node);
    if (FAILED(hr)) return hr;
    for (const auto& [key, value] : *row) {
        hr = node->SetAt(com::Bstr::FromAnsi(key).Get(), com::Bstr::FromAnsi(value).Get());
        if (FAILED(hr)) return hr;
    }
    *out = node.Detach();
    return S_OK;
}

}  // namespace vorlan
