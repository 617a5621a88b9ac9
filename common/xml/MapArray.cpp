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

bool CMapArray::Insert(int index, std::unique_ptr<StringMap> row) {
    if (index < 0 || index > GetSize()) return false;
    rows_.insert(rows_.begin() + index, std::move(row));
    return true;
}

bool CMapArray::Remove(int index) {
    if (index < 0 || index >= GetSize()) return false;
    rows_.erase(rows_.begin() + index);
    return true;
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
    // One class lookup per table: looking the class up again for every row
    // costs more than filling the row.
    HRESULT hr = S_OK;
    if (!nodeFactory_) {
        hr = CoGetClassObject(CLSID_InfoNode, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                              nodeFactory_.PutVoid());
        if (FAILED(hr)) return hr;
    }
    com::ComPtr<IInfoNode> node;
    hr = nodeFactory_->CreateInstance(nullptr, IID_IInfoNode, node.PutVoid());
    if (FAILED(hr)) return hr;
    for (const auto& [key, value] : *row) {
        hr = node->SetAt(com::Bstr::FromAnsi(key).Get(), com::Bstr::FromAnsi(value).Get());
        if (FAILED(hr)) return hr;
    }
    *out = node.Detach();
    return S_OK;
}

}  // namespace vorlan
