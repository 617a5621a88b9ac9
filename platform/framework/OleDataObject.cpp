#include "OleDataObject.h"

#include "Bstr.h"

namespace vorlan {
namespace {

FORMATETC GlobalFormat(CLIPFORMAT format) { return {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// The characters of a global block up to its first null one, never past
// its end.
template <class Char>
bool ReadGlobalText(IDataObject* data, CLIPFORMAT format, std::basic_string<Char>& text) {
    FORMATETC wanted = GlobalFormat(format);
    STGMEDIUM medium = {};
    if (!data || FAILED(data->GetData(&wanted, &medium))) return false;
    bool read = false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        const size_t count = GlobalSize(medium.hGlobal) / sizeof(Char);
        if (const auto* chars = static_cast<const Char*>(GlobalLock(medium.hGlobal))) {
            size_t length = 0;
            while (length < count && chars[length] != 0) ++length;
            text.assign(chars, length);
            GlobalUnlock(medium.hGlobal);
            read = true;
        }
    }
    ReleaseStgMedium(&medium);
    return read;
}

}  // namespace

void COleDataObject::Attach(IDataObject* data) {
    if (data) data->AddRef();
    Release();
    data_ = data;
}

void COleDataObject::Release() {
    if (data_) data_->Release();
    data_ = nullptr;
}

bool COleDataObject::IsDataAvailable(CLIPFORMAT format) const {
    FORMATETC wanted = GlobalFormat(format);
    return data_ && data_->QueryGetData(&wanted) == S_OK;
}

bool COleDataObject::GetText(std::wstring& text) const {
    if (ReadGlobalText(data_, CF_UNICODETEXT, text)) return true;
    std::string ansi;
    if (!ReadGlobalText(data_, CF_TEXT, ansi)) return false;
    text = com::WideFromAnsi(ansi);
    return true;
}

bool COleDataObject::GetText(std::string& text) const {
    std::wstring wide;
    if (ReadGlobalText(data_, CF_UNICODETEXT, wide)) {
        text = com::AnsiFromWide(wide);
        return true;
    }
    return ReadGlobalText(data_, CF_TEXT, text);
}

}  // namespace vorlan
