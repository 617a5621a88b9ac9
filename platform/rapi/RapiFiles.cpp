// Files and folders of the device.
#include <algorithm>
#include <cstring>

#include "CeRapi.h"
#include "RapiSession.h"

using namespace vorlan::rapi;
using vorlan::device::kDataChunk;
using vorlan::device::Op;

namespace {

const char16_t* Text16(LPCWSTR text) { return reinterpret_cast<const char16_t*>(text); }

void ReadFindData(vorlan::device::WireReader& r, CE_FIND_DATA* data) {
    CE_FIND_DATA record;
    r.Raw(&record, sizeof record);
    record.cFileName[MAX_PATH - 1] = 0;
    if (data) *data = record;
}

// Calls whose answer is one BOOL.
BOOL RunBool(Call& call) {
    if (!call.Run()) return FALSE;
    return call.Out().U32() != 0;
}

// Calls that name one handle, or one path, and answer a BOOL.
BOOL HandleCall(Op op, HANDLE h) {
    Call call(op);
    call.In().U32(ToDevice(h));
    return RunBool(call);
}

BOOL PathCall(Op op, LPCWSTR path) {
    Call call(op);
    call.In().Text(Text16(path));
    return RunBool(call);
}

void WriteTime(vorlan::device::WireWriter& w, const FILETIME* time) {
    w.U32(time != nullptr);
    w.U32(time ? time->dwLowDateTime : 0);
    w.U32(time ? time->dwHighDateTime : 0);
}

void ReadTime(vorlan::device::WireReader& r, LPFILETIME time) {
    FILETIME t;
    t.dwLowDateTime = r.U32();
    t.dwHighDateTime = r.U32();
    if (time) *time = t;
}

}  // namespace

RAPI_API HANDLE WINAPI CeCreateFile(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                                    LPSECURITY_ATTRIBUTES, DWORD dwCreationDisposition,
                                    DWORD dwFlagsAndAttributes, HANDLE) {
    Call call(Op::CreateFile);
    call.In().Text(Text16(lpFileName));
    call.In().U32(dwDesiredAccess);
    call.In().U32(dwShareMode);
    call.In().U32(dwCreationDisposition);
    call.In().U32(dwFlagsAndAttributes);
    if (!call.Run()) return INVALID_HANDLE_VALUE;
    return FromDevice<HANDLE>(call.Out().U32());
}

RAPI_API BOOL WINAPI CeReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead,
                                LPDWORD lpNumberOfBytesRead, LPOVERLAPPED) {
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
    if (!lpBuffer && nNumberOfBytesToRead) {
        SetThreadLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* out = static_cast<uint8_t*>(lpBuffer);
    DWORD total = 0;
    do {
        DWORD want = static_cast<DWORD>(std::min<size_t>(nNumberOfBytesToRead - total, kDataChunk));
        Call call(Op::ReadFile);
        call.In().U32(ToDevice(hFile));
        call.In().U32(want);
        if (!call.Run()) return FALSE;
        BOOL ok = call.Out().U32() != 0;
        auto data = call.Out().Bytes(want);
        if (!ok || !call.Out().Ok()) {
            if (lpNumberOfBytesRead) *lpNumberOfBytesRead = total;
            return FALSE;
        }
        if (!data.empty()) std::memcpy(out + total, data.data(), data.size());
        total += static_cast<DWORD>(data.size());
        if (data.size() < want) break;  // end of the file
    } while (total < nNumberOfBytesToRead);
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = total;
    return TRUE;
}

RAPI_API BOOL WINAPI CeWriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                                 LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED) {
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
    if (!lpBuffer && nNumberOfBytesToWrite) {
        SetThreadLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A few pieces in flight, so the device writes one while the next travels.
    constexpr size_t kInFlight = 3;
    const auto* in = static_cast<const uint8_t*>(lpBuffer);
    Pipeline pipeline;
    if (!pipeline.Ok()) return FALSE;
    size_t sent = 0, answered = 0;
    DWORD total = 0;
    bool failed = false, transport = true;
    std::vector<DWORD> pieces;
    do {
        while (!failed && sent < nNumberOfBytesToWrite && pieces.size() - answered < kInFlight) {
            DWORD piece = static_cast<DWORD>(std::min<size_t>(nNumberOfBytesToWrite - sent, kDataChunk));
            auto& request = pipeline.Begin(Op::WriteFile);
            request.U32(ToDevice(hFile));
            request.Bytes(in + sent, piece);
            if (!pipeline.Send()) return FALSE;
            pieces.push_back(piece);
            sent += piece;
        }
        if (answered == pieces.size()) break;  // an empty write sends nothing
        if (!pipeline.Receive()) {
            transport = false;
            break;
        }
        BOOL ok = pipeline.Out().U32() != 0;
        DWORD written = pipeline.Out().U32();
        // Pieces after a failed one may still land; only those before it count.
        if (!failed) total += std::min(written, pieces[answered]);
        if (!ok || written < pieces[answered]) failed = true;
        ++answered;
    } while (answered < pieces.size() || (!failed && sent < nNumberOfBytesToWrite));
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = total;
    return transport && !failed;
}

RAPI_API BOOL WINAPI CeCloseHandle(HANDLE hObject) { return HandleCall(Op::CloseHandle, hObject); }

RAPI_API DWORD WINAPI CeGetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
    Call call(Op::GetFileSize);
    call.In().U32(ToDevice(hFile));
    if (!call.Run()) return INVALID_FILE_SIZE;
    DWORD low = call.Out().U32();
    DWORD high = call.Out().U32();
    if (lpFileSizeHigh) *lpFileSizeHigh = high;
    return low;
}

RAPI_API DWORD WINAPI CeSetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                                       DWORD dwMoveMethod) {
    Call call(Op::SetFilePointer);
    call.In().U32(ToDevice(hFile));
    call.In().I32(lDistanceToMove);
    call.In().U32(lpDistanceToMoveHigh != nullptr);
    call.In().I32(lpDistanceToMoveHigh ? *lpDistanceToMoveHigh : 0);
    call.In().U32(dwMoveMethod);
    if (!call.Run()) return INVALID_SET_FILE_POINTER;
    DWORD low = call.Out().U32();
    LONG high = call.Out().I32();
    if (lpDistanceToMoveHigh) *lpDistanceToMoveHigh = high;
    return low;
}

RAPI_API BOOL WINAPI CeSetEndOfFile(HANDLE hFile) { return HandleCall(Op::SetEndOfFile, hFile); }

RAPI_API BOOL WINAPI CeGetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime,
                                   LPFILETIME lpLastWriteTime) {
    Call call(Op::GetFileTime);
    call.In().U32(ToDevice(hFile));
    if (!call.Run()) return FALSE;
    BOOL ok = call.Out().U32() != 0;
    if (!ok) return FALSE;
    ReadTime(call.Out(), lpCreationTime);
    ReadTime(call.Out(), lpLastAccessTime);
    ReadTime(call.Out(), lpLastWriteTime);
    return TRUE;
}

RAPI_API BOOL WINAPI CeSetFileTime(HANDLE hFile, const FILETIME* lpCreationTime, const FILETIME* lpLastAccessTime,
                                   const FILETIME* lpLastWriteTime) {
    Call call(Op::SetFileTime);
    call.In().U32(ToDevice(hFile));
    WriteTime(call.In(), lpCreationTime);
    WriteTime(call.In(), lpLastAccessTime);
    WriteTime(call.In(), lpLastWriteTime);
    return RunBool(call);
}

RAPI_API DWORD WINAPI CeGetFileAttributes(LPCWSTR lpFileName) {
    Call call(Op::GetFileAttributes);
    call.In().Text(Text16(lpFileName));
    if (!call.Run()) return INVALID_FILE_ATTRIBUTES;
    return call.Out().U32();
}

RAPI_API BOOL WINAPI CeSetFileAttributes(LPCWSTR lpFileName, DWORD dwFileAttributes) {
    Call call(Op::SetFileAttributes);
    call.In().Text(Text16(lpFileName));
    call.In().U32(dwFileAttributes);
    return RunBool(call);
}

RAPI_API BOOL WINAPI CeCreateDirectory(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES) {
    return PathCall(Op::CreateDirectory, lpPathName);
}

RAPI_API BOOL WINAPI CeRemoveDirectory(LPCWSTR lpPathName) { return PathCall(Op::RemoveDirectory, lpPathName); }

RAPI_API BOOL WINAPI CeDeleteFile(LPCWSTR lpFileName) { return PathCall(Op::DeleteFile, lpFileName); }

RAPI_API BOOL WINAPI CeMoveFile(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName) {
    Call call(Op::MoveFile);
    call.In().Text(Text16(lpExistingFileName));
    call.In().Text(Text16(lpNewFileName));
    return RunBool(call);
}

RAPI_API BOOL WINAPI CeCopyFile(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists) {
    Call call(Op::CopyFile);
    call.In().Text(Text16(lpExistingFileName));
    call.In().Text(Text16(lpNewFileName));
    call.In().U32(bFailIfExists != FALSE);
    return RunBool(call);
}

RAPI_API HANDLE WINAPI CeFindFirstFile(LPCWSTR lpFileName, LPCE_FIND_DATA lpFindFileData) {
    Call call(Op::FindFirstFile);
    call.In().Text(Text16(lpFileName));
    if (!call.Run()) return INVALID_HANDLE_VALUE;
    HANDLE h = FromDevice<HANDLE>(call.Out().U32());
    if (h != INVALID_HANDLE_VALUE) ReadFindData(call.Out(), lpFindFileData);
    return h;
}

RAPI_API BOOL WINAPI CeFindNextFile(HANDLE hFindFile, LPCE_FIND_DATA lpFindFileData) {
    Call call(Op::FindNextFile);
    call.In().U32(ToDevice(hFindFile));
    if (!call.Run()) return FALSE;
    if (!call.Out().U32()) return FALSE;
    ReadFindData(call.Out(), lpFindFileData);
    return TRUE;
}

RAPI_API BOOL WINAPI CeFindClose(HANDLE hFindFile) { return HandleCall(Op::FindClose, hFindFile); }

RAPI_API BOOL WINAPI CeFindAllFiles(LPCWSTR szPath, DWORD dwFlags, LPDWORD lpdwFoundCount,
                                    LPLPCE_FIND_DATA ppFindDataArray) {
    if (!lpdwFoundCount || !ppFindDataArray) {
        SetThreadLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpdwFoundCount = 0;
    *ppFindDataArray = nullptr;
    std::vector<CE_FIND_DATA> found;
    // The device answers in pages that fit a frame.
    for (;;) {
        Call call(Op::FindAllFiles);
        call.In().Text(Text16(szPath));
        call.In().U32(dwFlags);
        call.In().U32(static_cast<uint32_t>(found.size()));
        if (!call.Run()) return FALSE;
        if (!call.Out().U32()) return FALSE;
        uint32_t count = call.Out().U32();
        bool more = call.Out().U32() != 0;
        if (count > call.Out().Remaining() / sizeof(CE_FIND_DATA)) {
            SetThreadLastError(ERROR_INVALID_DATA);
            return FALSE;
        }
        for (uint32_t i = 0; i < count; ++i) {
            found.emplace_back();
            ReadFindData(call.Out(), &found.back());
        }
        if (!more) break;
    }
    if (!found.empty()) {
        void* block = LocalAlloc(LPTR, found.size() * sizeof(CE_FIND_DATA));
        if (!block) {
            SetThreadLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
        std::memcpy(block, found.data(), found.size() * sizeof(CE_FIND_DATA));
        *ppFindDataArray = static_cast<LPCE_FIND_DATA>(block);
    }
    *lpdwFoundCount = static_cast<DWORD>(found.size());
    return TRUE;
}

RAPI_API BOOL WINAPI CeOidGetInfo(CEOID oid, CEOIDINFO* poidInfo) {
    Call call(Op::OidGetInfo);
    call.In().U32(oid);
    if (!call.Run() || !call.Out().U32()) return FALSE;
    CEOIDINFO info = {};
    info.wObjType = static_cast<WORD>(call.Out().U32());
    info.infFile.dwAttributes = call.Out().U32();
    info.infFile.oidParent = call.Out().U32();
    std::u16string name = call.Out().Text();
    size_t n = std::min<size_t>(name.size(), MAX_PATH - 1);
    std::memcpy(info.infFile.szFileName, name.data(), n * 2);
    if (info.wObjType == OBJTYPE_FILE) {
        ReadTime(call.Out(), &info.infFile.ftLastChanged);
        info.infFile.dwLength = call.Out().U32();
    }
    if (poidInfo) *poidInfo = info;
    return TRUE;
}
