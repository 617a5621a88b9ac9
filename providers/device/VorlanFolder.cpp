#include "VorlanFolder.h"

#include <cwchar>
#include <new>

#include "Coredll.h"
#include "DevicePaths.h"
#include "VorlanObjHandler.h"

namespace vorlan::zephrin {

bool DataFileTime(FILETIME& time) {
    wchar_t path[MAX_PATH];
    if (!DataFilePath(path)) return false;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileTime(file, nullptr, nullptr, &time) != FALSE;
    CloseHandle(file);
    return ok;
}

bool DataFileExists() {
    wchar_t path[MAX_PATH];
    return DataFilePath(path) && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsDataFilePath(const wchar_t* path) {
    wchar_t data[MAX_PATH];
    return DataFilePath(data) && _wcsicmp(path, data) == 0;
}

CVorlanFolder::~CVorlanFolder() { Close(); }

BOOL CVorlanFolder::Init(ce::IReplObjHandler** ppHandler, UINT uPartnerBit) {
    if (!ppHandler) return FALSE;
    *ppHandler = new (std::nothrow) CVorlanObjHandler(*this);
    if (!*ppHandler) return FALSE;
    if (uPartnerBit & 0x1) partner_ = 0;
    else if (uPartnerBit & 0x2) partner_ = 1;
    Close();  // a connection that was never ended keeps no handle behind
    wchar_t path[MAX_PATH];
    if (!StateFilePath(path)) return FALSE;
    state_ = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         0, nullptr);
    return state_ != INVALID_HANDLE_VALUE;
}

BOOL CVorlanFolder::Close() {
    if (state_ != INVALID_HANDLE_VALUE) CloseHandle(state_);
    state_ = INVALID_HANDLE_VALUE;
    return TRUE;
}

StateRecord CVorlanFolder::ReadRecord() {
    uint8_t bytes[kStateRecordSize] = {};
    DWORD read = 0;
    if (state_ == INVALID_HANDLE_VALUE || SetFilePointer(state_, 0, nullptr, FILE_BEGIN) != 0 ||
        !ReadFile(state_, bytes, sizeof bytes, &read, nullptr))
        read = 0;
    return DecodeStateRecord(bytes, read);
}

BOOL CVorlanFolder::WriteRecord(const StateRecord& record) {
    uint8_t bytes[kStateRecordSize];
    EncodeStateRecord(record, bytes);
    DWORD written = 0;
    return state_ != INVALID_HANDLE_VALUE && SetFilePointer(state_, 0, nullptr, FILE_BEGIN) == 0 &&
           WriteFile(state_, bytes, sizeof bytes, &written, nullptr) && written == sizeof bytes;
}

BOOL CVorlanFolder::IsDataFileOid(CEOID oid) {
    CEOIDINFO info = {};
    if (CeOidGetInfo(oid, &info) && info.wObjType == OBJTYPE_FILE && IsDataFilePath(info.infFile.szFileName))
        return TRUE;
    return oid != 0 && oid == ReadRecord().oid;
}

BOOL CVorlanFolder::StoreOid(CEOID oid) {
    StateRecord record = ReadRecord();
    record.oid = oid;
    return WriteRecord(record);
}

BOOL CVorlanFolder::MarkSynced() {
    FILETIME time;
    if (!DataFileTime(time)) return FALSE;
    StateRecord record = ReadRecord();
    record.time[partner_] = time;
    record.synced[partner_] = 1;
    return WriteRecord(record);
}

CVorlanFolder::SyncCompare CVorlanFolder::CompareSyncTime() {
    FILETIME time;
    // Only a file that is not there is gone; one that cannot be read is unknown.
    if (!DataFileTime(time)) return DataFileExists() ? SyncCompare::Unreadable : SyncCompare::Missing;
    const StateRecord record = ReadRecord();
    if (!record.synced[partner_]) return SyncCompare::Changed;
    return CompareFileTime(&record.time[partner_], &time) != 0 ? SyncCompare::Changed : SyncCompare::Same;
}

BOOL CVorlanFolder::ObjectNotify(ce::OBJNOTIFY* pNotify) {
    if (pNotify->cbStruct < sizeof(ce::OBJNOTIFY) || std::wcscmp(pNotify->szObjType, GetName()) != 0) return FALSE;
    if (pNotify->uFlags & ce::ONF_CLEAR_CHANGE) return !MarkSynced();
    if (!(pNotify->uFlags & ce::ONF_FILE) || !IsDataFileOid(pNotify->oidObject)) return FALSE;
    if (!StoreOid(pNotify->oidObject)) return FALSE;
    pNotify->poid = reinterpret_cast<UINT*>(&pNotify->oidObject);
    if (pNotify->uFlags & ce::ONF_DELETED) {
        pNotify->cOidDel = 1;
        return StoreOid(0);
    }
    if (pNotify->uFlags & ce::ONF_CHANGED) {
        pNotify->cOidChg = 1;
        return TRUE;
    }
    switch (CompareSyncTime()) {
        case SyncCompare::Changed: pNotify->cOidChg = 1, pNotify->cOidDel = 0; break;
        case SyncCompare::Same:
        case SyncCompare::Missing: pNotify->cOidChg = 0, pNotify->cOidDel = 1; break;
        case SyncCompare::Unreadable: pNotify->cOidChg = 0, pNotify->cOidDel = 0; break;
    }
    return TRUE;
}

BOOL CVorlanFolder::GetObjTypeInfo(ce::OBJTYPEINFO* pInfo) {
    pInfo->cObjects = 0;
    pInfo->cbAllObj = 0;
    pInfo->szName[0] = 0;
    wchar_t path[MAX_PATH];
    if (!DataFilePath(path)) return TRUE;
    // A name to show, cut to its field.
    const size_t room = sizeof pInfo->szName / sizeof pInfo->szName[0];
    std::wcsncpy(pInfo->szName, path, room - 1);
    pInfo->szName[room - 1] = 0;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return TRUE;
    FILETIME time;
    const DWORD size = GetFileSize(file, nullptr);
    if (size != INVALID_FILE_SIZE && GetFileTime(file, nullptr, nullptr, &time)) {
        pInfo->cObjects = 1;
        pInfo->cbAllObj = size;
        pInfo->ftLastModified = time;
    }
    CloseHandle(file);
    return TRUE;
}

}  // namespace vorlan::zephrin
