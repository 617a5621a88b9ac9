#include "Ini.h"

#include "WholeFile.h"

namespace vorlan::devicefs {

HRESULT CIni::Load(const wchar_t* path) {
    if (!path) return E_INVALIDARG;
    set_.RemoveAll();
    path_ = path;
    std::string bytes;
    if (HRESULT hr = ReadWholeFile(path, bytes); FAILED(hr)) return hr;
    bool whole = false;
    IniText read = set_.Parse(TextFromUtf16Le(bytes, &whole));
    if (read == IniText::kDamaged) {
        // What was read is not all there is: nothing of it may be taken
        // for the store's content, or saved back in its place.
        set_.RemoveAll();
        return HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT);
    }
    return read == IniText::kComplete && whole ? S_OK : E_FAIL;
}

HRESULT CIni::Save(const wchar_t* path) const {
    if (!path) path = path_.c_str();
    return ReplaceWholeFile(path, Utf16LeBytes(set_.Format()));
}

HRESULT CIni::GetValue(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                       std::wstring& value) const {
    if (!section || !key || !defaultValue) return E_INVALIDARG;
    const CIniSection* found = set_.FindSection(section);
    const std::wstring* stored = found ? found->GetValue(key) : nullptr;
    value = stored ? *stored : defaultValue;
    return found ? S_OK : E_FAIL;
}

HRESULT CIni::SetValue(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    if (!section || !key || !value) return E_INVALIDARG;
    CIniSection* found = set_.FindSection(section);
    (found ? *found : set_.AddSection(section)).SetValue(key, value);
    return S_OK;
}

HRESULT CIni::Remove(const wchar_t* section, const wchar_t* key) {
    if (!section) return E_INVALIDARG;
    CIniSection* found = set_.FindSection(section);
    if (!found) return E_FAIL;
    if (key)
        found->RemoveKey(key);
    else
        set_.RemoveSection(section);
    return S_OK;
}

}  // namespace vorlan::devicefs
