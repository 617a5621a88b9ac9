#pragma once
// The device's synchronisation records: per device path, the CRC-32 the
// path had when both sides were last made equal, kept in one UTF-16 ini
// file named by the device registry (HKLM\SOFTWARE\Dravenhall\Vorlan,
// value TwoWaySyncData).
#include <windows.h>

#include <string>

namespace vorlan::ostrum {

// The status of a path against its record.
enum SyncStatus : DWORD {
    kNew = 0,          // no record, the path is readable
    kGone = 1,         // a record, the path is gone or unreadable
    kUnknown = 2,      // no record and no readable path
    kChanged = 3,      // the CRC differs from the record
    kUnchanged = 4,    // the CRC equals the record
    kNoRecords = 5,    // the record file's location is not set, or the file cannot be read
    kInUse = 6,        // a record, and the path is held open by someone
};

// The location of the record file; E_FAIL when it is not set (or too long).
HRESULT RecordFilePath(std::wstring& path);

// value receives the value or defaultValue. A record file that does not
// exist holds no values; one that exists but cannot be read is an error.
HRESULT GetRecordValue(const wchar_t* section, const wchar_t* key, std::wstring& value, const wchar_t* defaultValue);
// E_NOTIMPL (number 0) when there is no record.
HRESULT GetRecordInt(const wchar_t* section, const wchar_t* key, DWORD& number);
// Both return the result of saving; a failed save keeps the old file.
HRESULT SetRecordValue(const wchar_t* section, const wchar_t* key, const wchar_t* value);
HRESULT SetRecordInt(const wchar_t* section, const wchar_t* key, DWORD number);
// A null key removes the whole section; a path without a record is no error.
HRESULT RemoveRecord(const wchar_t* section, const wchar_t* key);
// status is always set: kNoRecords when the result is a failure.
HRESULT GetSyncStatus(const wchar_t* path, DWORD* status, BOOL isFile);
// Deletes the record file with the backup and temporary file of an
// interrupted save; S_OK only when none of them is left (a file or folder
// that is not there is no error), else E_FAIL.
HRESULT ClearSyncStore();

}  // namespace vorlan::ostrum
