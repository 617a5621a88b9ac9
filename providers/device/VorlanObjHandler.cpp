#include "VorlanObjHandler.h"

#include "Coredll.h"
#include "DevicePaths.h"
#include "ReplStore.h"
#include "VorlanFolder.h"

namespace vorlan::zephrin {

using activesync::kCannotReadObject;
using activesync::kCannotWriteObject;
using activesync::kLastPacket;

CVorlanObjHandler::~CVorlanObjHandler() {
    if (buffer_) LocalFree(buffer_);
}

HRESULT CVorlanObjHandler::QueryInterface(REFIID, void** ppv) {
    if (!ppv) return E_INVALIDARG;
    *ppv = this;
    AddRef();
    return S_OK;
}

ULONG CVorlanObjHandler::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG CVorlanObjHandler::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT CVorlanObjHandler::Setup(ce::REPLSETUP* pSetup) {
    if (!pSetup) return E_INVALIDARG;
    if (!pSetup->fRead) {
        write_ = pSetup;
        written_ = false;
        return S_OK;
    }
    read_ = pSetup;
    if (!buffer_) buffer_ = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, kPacketSize));
    return buffer_ ? S_OK : E_OUTOFMEMORY;
}

HRESULT CVorlanObjHandler::Reset(ce::REPLSETUP* pSetup) {
    if (!pSetup) return E_INVALIDARG;
    if (pSetup->fRead) {
        if (buffer_) LocalFree(buffer_);
        buffer_ = nullptr;
        read_ = nullptr;
        return S_OK;
    }
    // The record follows only a write that reached the data file.
    const bool record = written_;
    write_ = nullptr;
    written_ = false;
    if (!record) return S_OK;
    return folder_.StoreOid(pSetup->oidNew) && folder_.MarkSynced() ? S_OK : E_FAIL;
}

HRESULT CVorlanObjHandler::GetPacket(LPBYTE* lppbData, DWORD* pcbData, DWORD) {
    if (!lppbData || !pcbData) return E_INVALIDARG;
    *lppbData = nullptr;
    *pcbData = 0;
    if (!read_ || !buffer_) return kCannotReadObject;
    CEOIDINFO info = {};
    if (!CeOidGetInfo(read_->oid, &info) || info.wObjType != OBJTYPE_FILE) return kCannotReadObject;
    HANDLE file = CreateFileW(info.infFile.szFileName, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return kCannotReadObject;
    DWORD read = 0;
    const BOOL ok = ReadFile(file, buffer_, kPacketSize, &read, nullptr);
    CloseHandle(file);
    if (!ok) return kCannotReadObject;
    *lppbData = buffer_;
    *pcbData = read;
    return kLastPacket;
}

HRESULT CVorlanObjHandler::SetPacket(LPBYTE lpbData, DWORD cbData) {
    if (!lpbData) return E_INVALIDARG;
    if (!write_) return E_UNEXPECTED;
    wchar_t path[MAX_PATH];
    if (!DataFilePath(path)) return kCannotWriteObject;
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return kCannotWriteObject;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, lpbData, cbData, &written, nullptr) && written == cbData;
    const BOOL closed = CloseHandle(file);
    if (!ok || !closed) return kCannotWriteObject;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path, &found);
    if (search == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
    FindClose(search);
    write_->oidNew = FindDataOid(found);
    written_ = true;
    return S_OK;
}

HRESULT CVorlanObjHandler::DeleteObj(ce::REPLSETUP* pSetup) {
    if (!pSetup) return E_INVALIDARG;
    CEOIDINFO info = {};
    if (!CeOidGetInfo(pSetup->oid, &info)) return kCannotReadObject;
    // An identifier of any other file deletes nothing.
    if (info.wObjType != OBJTYPE_FILE || !IsDataFilePath(info.infFile.szFileName)) return S_OK;
    return DeleteFileW(info.infFile.szFileName) ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

}  // namespace vorlan::zephrin
