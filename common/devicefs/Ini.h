#pragma once
// One file of the UTF-16 ini store (see IniSet.h for its model and text):
// read whole into memory, changed there, written back whole.
#include <windows.h>

#include <string>

#include "IniSet.h"

namespace vorlan::devicefs {

class CIni {
public:
    // Empties the set, remembers path and reads the file. S_OK only when the
    // text ends with a completed key line. E_FAIL when only its last line is
    // cut short (an empty file, one cut in its last header or key line or in
    // half a character): the sections and keys read completely before stay
    // loaded. HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT), with an empty set, when
    // the text is broken before its last line (IniText::kDamaged).
    // HRESULT_FROM_WIN32 of the error when the file cannot be opened or read
    // (0x80070002 / 0x80070003: missing), with an empty set.
    HRESULT Load(const wchar_t* path);

    // Writes the whole set to path, or to the remembered path when path is
    // null, replacing the file as ReplaceWholeFile() does: a failure is
    // returned and leaves the old file as it was. E_INVALIDARG when there is
    // no path.
    HRESULT Save(const wchar_t* path = nullptr) const;

    // value = the key's value, or defaultValue when the section or the key
    // is missing. E_FAIL when the section is missing, E_INVALIDARG for a
    // null argument, else S_OK.
    HRESULT GetValue(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                     std::wstring& value) const;
    // Sets the key, creating the section. E_INVALIDARG for a null argument.
    HRESULT SetValue(const wchar_t* section, const wchar_t* key, const wchar_t* value);
    // Removes the key, or with a null key the whole section. E_FAIL when the
    // section is missing, E_INVALIDARG for a null section, else S_OK (also
    // when the key was not there).
    HRESULT Remove(const wchar_t* section, const wchar_t* key);

    CIniSet& Set() { return set_; }
    const CIniSet& Set() const { return set_; }
    const std::wstring& Path() const { return path_; }

private:
    CIniSet set_;
    std::wstring path_;
};

}  // namespace vorlan::devicefs
