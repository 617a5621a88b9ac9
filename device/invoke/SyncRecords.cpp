#include "SyncRecords.h"

#include <cwchar>

#include "DeviceFileCrc.h"
#include "Ini.h"
#include "WholeFile.h"

namespace vorlan::ostrum {

using devicefs::CIni;

namespace {

constexpr DWORD kLocationChars = 260;
const wchar_t kNoRecordText[] = L"-1";

bool IsMissing(HRESULT hr) {
    return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

// Loads the record file. Only a file that is not there counts as an empty
// store; a file that exists and cannot be read is the caller's failure, so
// nothing is decided, or written over, on the strength of it. The same holds
// for a file broken part-way; one whose last line was cut short keeps what
// was read before it.
HRESULT LoadStore(CIni& ini, std::wstring& path) {
    HRESULT hr = RecordFilePath(path);
    if (FAILED(hr)) return hr;
    hr = ini.Load(path.c_str());
    if (SUCCEEDED(hr) || hr == E_FAIL || IsMissing(hr)) return S_OK;
    return hr;
}

}  // namespace

HRESULT RecordFilePath(std::wstring& path) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Dravenhall\\Vorlan", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return E_FAIL;
    wchar_t buffer[kLocationChars + 1] = {};
    DWORD size = kLocationChars * sizeof(wchar_t), type = 0;
    LONG result = RegQueryValueExW(key, L"TwoWaySyncData", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) return E_FAIL;
    buffer[size / sizeof(wchar_t)] = 0;
    path = buffer;
    if (path.empty() || path.size() >= kLocationChars) return E_FAIL;
    return S_OK;
}

HRESULT GetRecordValue(const wchar_t* section, const wchar_t* key, std::wstring& value, const wchar_t* defaultValue) {
    if (!section || !key || !defaultValue) return E_INVALIDARG;
    CIni ini;
    std::wstring path;
    HRESULT hr = LoadStore(ini, path);
    if (FAILED(hr)) return hr;
    ini.GetValue(section, key, defaultValue, value);
    return S_OK;
}

HRESULT GetRecordInt(const wchar_t* section, const wchar_t* key, DWORD& number) {
    std::wstring text;
    number = 0;
    HRESULT hr = GetRecordValue(section, key, text, kNoRecordText);
    if (FAILED(hr)) return hr;
    if (text == kNoRecordText) return E_NOTIMPL;
    // Unsigned, so that every 32-bit value (0xFFFFFFFF too) reads back as written.
    number = static_cast<DWORD>(std::wcstoul(text.c_str(), nullptr, 10));
    return S_OK;
}

HRESULT SetRecordValue(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    if (!section || !key || !value) return E_INVALIDARG;
    CIni ini;
    std::wstring path;
    HRESULT hr = LoadStore(ini, path);
    if (FAILED(hr)) return hr;
    hr = ini.SetValue(section, key, value);
    if (FAILED(hr)) return hr;
    return ini.Save(path.c_str());
}

HRESULT SetRecordInt(const wchar_t* section, const wchar_t* key, DWORD number) {
    return SetRecordValue(section, key, std::to_wstring(number).c_str());
}

HRESULT RemoveRecord(const wchar_t* section, const wchar_t* key) {
    if (!section) return E_INVALIDARG;
    CIni ini;
    std::wstring path;
    HRESULT hr = LoadStore(ini, path);
    if (FAILED(hr)) return hr;
    if (FAILED(ini.Remove(section, key))) return S_OK;  // nothing recorded, nothing to write
    return ini.Save(path.c_str());
}

HRESULT GetSyncStatus(const wchar_t* path, DWORD* status, BOOL isFile) {
    if (!path || !status) return E_INVALIDARG;
    *status = kNoRecords;
    DWORD stored = 0;
    HRESULT hr = GetRecordInt(path, L"CRC", stored);
    if (FAILED(hr) && hr != E_NOTIMPL) return hr;
    bool noRecord = hr == E_NOTIMPL;
    // Records hold content CRCs, so the status always compares content.
    DWORD current = 0;
    hr = isFile ? devicefs::DeviceCalcFileCrc32(path, &current, FALSE)
                : devicefs::DeviceCalcFolderCrc32(path, &current, FALSE);
    if (FAILED(hr))
        *status = noRecord ? kUnknown : hr == STG_E_SHAREVIOLATION ? kInUse : kGone;
    else
        *status = noRecord ? kNew : current == stored ? kUnchanged : kChanged;
    return S_OK;
}

HRESULT ClearSyncStore() {
    std::wstring path;
    HRESULT hr = RecordFilePath(path);
    if (FAILED(hr)) return hr;
    return SUCCEEDED(devicefs::RemoveWholeFile(path.c_str())) ? S_OK : E_FAIL;
}

}  // namespace vorlan::ostrum
