#include "OleDataSource.h"

#include <shlobj.h>

#include <cstring>
#include <utility>
#include <vector>

#include "Bstr.h"
#include "ComObject.h"

namespace vorlan {

// The data object: formats of global memory, each held as its bytes.
class CachedData : public IDataObject, public com::ComObjectRoot {
public:
    void* FindInterface(REFIID iid) { return com::FindInterfaceOf<IDataObject>(this, iid); }

    void Set(CLIPFORMAT format, std::string bytes) {
        for (auto& [cached, held] : formats_) {
            if (cached == format) {
                held = std::move(bytes);
                return;
            }
        }
        formats_.emplace_back(format, std::move(bytes));
    }
    void Clear() { formats_.clear(); }

    STDMETHODIMP GetData(FORMATETC* wanted, STGMEDIUM* medium) override {
        if (!wanted || !medium) return E_POINTER;
        *medium = {};
        const std::string* bytes = nullptr;
        HRESULT hr = Find(*wanted, bytes);
        if (FAILED(hr)) return hr;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes->size());
        void* to = block ? GlobalLock(block) : nullptr;
        if (!to) {
            if (block) GlobalFree(block);
            return E_OUTOFMEMORY;
        }
        std::memcpy(to, bytes->data(), bytes->size());
        GlobalUnlock(block);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = block;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC* wanted, STGMEDIUM* medium) override {
        if (!wanted || !medium) return E_POINTER;
        const std::string* bytes = nullptr;
        HRESULT hr = Find(*wanted, bytes);
        if (FAILED(hr)) return hr;
        if (medium->tymed != TYMED_HGLOBAL || !medium->hGlobal) return DV_E_TYMED;
        if (GlobalSize(medium->hGlobal) < bytes->size()) return STG_E_MEDIUMFULL;
        void* to = GlobalLock(medium->hGlobal);
        if (!to) return E_OUTOFMEMORY;
        std::memcpy(to, bytes->data(), bytes->size());
        GlobalUnlock(medium->hGlobal);
        return S_OK;
    }
    STDMETHODIMP QueryGetData(FORMATETC* wanted) override {
        if (!wanted) return E_POINTER;
        const std::string* bytes = nullptr;
        return Find(*wanted, bytes);
    }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override {
        if (!in || !out) return E_POINTER;
        *out = *in;
        out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        std::vector<FORMATETC> offered;
        for (const auto& entry : formats_)
            offered.push_back({entry.first, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        return SHCreateStdEnumFmtEtc(static_cast<UINT>(offered.size()), offered.data(), out);
    }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    HRESULT Find(const FORMATETC& wanted, const std::string*& bytes) const {
        if (wanted.dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        if (wanted.lindex != -1) return DV_E_LINDEX;
        for (const auto& [format, held] : formats_) {
            if (format != wanted.cfFormat) continue;
            if (!(wanted.tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
            bytes = &held;
            return S_OK;
        }
        return DV_E_FORMATETC;
    }

    std::vector<std::pair<CLIPFORMAT, std::string>> formats_;
};

namespace {

// The drag goes on while the button that began it is held; Escape cancels.
class DragSource : public IDropSource, public com::ComObjectRoot {
public:
    void* FindInterface(REFIID iid) { return com::FindInterfaceOf<IDropSource>(this, iid); }

    STDMETHODIMP QueryContinueDrag(BOOL escapePressed, DWORD keyState) override {
        if (escapePressed) return DRAGDROP_S_CANCEL;
        return keyState & (MK_LBUTTON | MK_RBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    STDMETHODIMP GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// A text and its terminating null character, as bytes.
template <class Char>
std::string TerminatedBytes(const std::basic_string<Char>& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(Char));
}

}  // namespace

COleDataSource::COleDataSource() {
    com::ComPtr<IDataObject> data;
    if (SUCCEEDED(com::ComObject<CachedData>::CreateInstance<IDataObject>(data.Put()))) {
        cache_ = static_cast<CachedData*>(data.Get());
        data_ = std::move(data);
    }
}

void COleDataSource::CacheText(const std::string& text) { CacheText(com::WideFromAnsi(text)); }

void COleDataSource::CacheText(const std::wstring& text) {
    if (!cache_) return;
    cache_->Set(CF_UNICODETEXT, TerminatedBytes(text));
    cache_->Set(CF_TEXT, TerminatedBytes(com::AnsiFromWide(text)));
}

void COleDataSource::Empty() {
    if (cache_) cache_->Clear();
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD effects, HRESULT* result) {
    com::ComPtr<IDropSource> source;
    HRESULT hr = data_ ? com::ComObject<DragSource>::CreateInstance<IDropSource>(source.Put()) : E_OUTOFMEMORY;
    DWORD effect = DROPEFFECT_NONE;
    if (SUCCEEDED(hr)) hr = ::DoDragDrop(data_.Get(), source.Get(), effects, &effect);
    if (result) *result = hr;
    return hr == DRAGDROP_S_DROP ? (effect & effects) : DROPEFFECT_NONE;
}

}  // namespace vorlan
