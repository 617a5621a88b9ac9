// The functions the desktop calls by name through CeRapiInvoke. Each one
// returns S_OK to the remote API and carries its own result in the output
// block; a block that does not fit its layout gets the export's error
// answer without being read further.
#include <windows.h>

#include "Aygshell.h"
#include "Coredll.h"
#include "DeviceFileCrc.h"
#include "InvokeBlocks.h"
#include "SyncRecords.h"

using namespace vorlan::ostrum;

// Stream mode is never used: the exports only name its type.
struct IRAPIStream;

#define OSTRUM_EXPORT extern "C" HRESULT WINAPI

namespace {

// The message box answer when the call cannot show one.
constexpr DWORD kNoAnswer = 0;
constexpr DWORD kNoNotification = 6;
constexpr DWORD kDllNotCalled = 1;
const CLSID kNotificationClass = {0x23A419B7, 0x7F99, 0x479B, {0x8A, 0x2A, 0x56, 0xD6, 0xAC, 0x70, 0x43, 0xD4}};
constexpr DWORD kNotificationId = 0x25BF8C;

HRESULT Crc(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, bool folder) {
    CrcRequest request;
    if (!ReadCrcRequest(cbInput, pInput, request)) return Answer(pcbOutput, ppOutput, E_INVALIDARG, 0);
    DWORD crc = 0;
    HRESULT hr = folder ? vorlan::devicefs::DeviceCalcFolderCrc32(request.path, &crc, request.quick)
                        : vorlan::devicefs::DeviceCalcFileCrc32(request.path, &crc, request.quick);
    if (FAILED(hr) && !folder) crc = 0;
    return Answer(pcbOutput, ppOutput, static_cast<DWORD>(hr), FAILED(hr) ? 0 : crc);
}

HRESULT Status(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, BOOL isFile) {
    const wchar_t* path;
    DWORD status = kNoRecords;
    if (ReadText(cbInput, pInput, path)) GetSyncStatus(path, &status, isFile);
    return Answer(pcbOutput, ppOutput, status);
}

HRESULT Registration(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, const wchar_t* entryName) {
    const wchar_t* path;
    DWORD result = kDllNotCalled;
    // Only the file the path names: the device has no current folder, and a
    // name without one would be looked for along the search path.
    if (ReadText(cbInput, pInput, path) && path[0] == L'\\' && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) {
        HMODULE module = LoadLibraryW(path);
        if (module) {
            auto entry = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(GetProcAddressW(module, entryName));
            if (entry) {
                entry();  // what the DLL's registration thinks of itself is its own affair
                result = 0;
            }
            FreeLibrary(module);
        }
    }
    return Answer(pcbOutput, ppOutput, result);
}

}  // namespace

OSTRUM_EXPORT CECalcCRC32(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    return Crc(cbInput, pInput, pcbOutput, ppOutput, false);
}

OSTRUM_EXPORT CECalcFolderCRC32(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    return Crc(cbInput, pInput, pcbOutput, ppOutput, true);
}

OSTRUM_EXPORT CeClearStorage(DWORD, BYTE*, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    return Answer(pcbOutput, ppOutput, static_cast<DWORD>(ClearSyncStore()));
}

OSTRUM_EXPORT CeGetFileSyncStatus(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    return Status(cbInput, pInput, pcbOutput, ppOutput, TRUE);
}

OSTRUM_EXPORT CeGetFolderSyncStatus(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    return Status(cbInput, pInput, pcbOutput, ppOutput, FALSE);
}

OSTRUM_EXPORT CeRemoveFileCRCRecord(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    const wchar_t* path;
    HRESULT hr = ReadText(cbInput, pInput, path) ? RemoveRecord(path, nullptr) : E_INVALIDARG;
    return Answer(pcbOutput, ppOutput, static_cast<DWORD>(hr));
}

OSTRUM_EXPORT CeUpdateFileCRCRecord(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    CrcRecord record;
    HRESULT hr = ReadCrcRecord(cbInput, pInput, record) ? SetRecordInt(record.path, L"CRC", record.crc) : E_INVALIDARG;
    return Answer(pcbOutput, ppOutput, static_cast<DWORD>(hr));
}

OSTRUM_EXPORT CloseApp(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    const wchar_t* title;
    DWORD found = 0;
    // An empty title would match any untitled window: it names none.
    if (ReadText(cbInput, pInput, title) && *title) {
        HWND window = FindWindowW(nullptr, title);
        if (window) {
            // Posted, so a window that hangs cannot hold the call.
            PostMessageW(window, WM_CLOSE, 0, 0);
            found = 1;
        }
    }
    return Answer(pcbOutput, ppOutput, found);
}

OSTRUM_EXPORT MsgBox(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    MessageRecord message;
    DWORD answer = kNoAnswer;
    if (ReadMessageRecord(cbInput, pInput, message))
        answer = static_cast<DWORD>(MessageBoxW(nullptr, message.text, message.caption, message.type));
    return Answer(pcbOutput, ppOutput, answer);
}

OSTRUM_EXPORT Notification(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    MessageRecord message;
    if (!ReadMessageRecord(cbInput, pInput, message)) return Answer(pcbOutput, ppOutput, kNoNotification);
    SHNOTIFICATIONDATA data = {};
    data.cbStruct = sizeof data;
    data.dwID = kNotificationId;
    data.npPriority = SHNP_INFORM;
    data.csDuration = message.duration;
    data.clsid = kNotificationClass;
    data.pszHTML = message.text;
    data.pszTitle = message.caption;
    return Answer(pcbOutput, ppOutput, static_cast<DWORD>(SHNotificationAdd(&data)));
}

OSTRUM_EXPORT RegisterDll(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    return Registration(cbInput, pInput, pcbOutput, ppOutput, L"DllRegisterServer");
}

OSTRUM_EXPORT UnregisterDll(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    return Registration(cbInput, pInput, pcbOutput, ppOutput, L"DllUnregisterServer");
}

OSTRUM_EXPORT WaitCreateProcess(DWORD cbInput, BYTE* pInput, DWORD* pcbOutput, BYTE** ppOutput, IRAPIStream*) {
    const wchar_t* program;
    if (!ReadText(cbInput, pInput, program)) return Answer(pcbOutput, ppOutput, ERROR_INVALID_PARAMETER);
    PROCESS_INFORMATION process = {};
    DWORD result = 0;
    if (CreateProcessW(program, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &process)) {
        if (WaitForSingleObject(process.hProcess, INFINITE) == WAIT_FAILED) result = GetLastError();
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    } else {
        result = GetLastError();
    }
    return Answer(pcbOutput, ppOutput, result);
}
