// What the device's replication service calls: the object types' folders,
// looked up by name, and the provider's registration under the device's
// objects key.
#include <windows.h>

#include <cwchar>
#include <memory>

#include "VorlanFolder.h"

using namespace vorlan::zephrin;

#define ZEPHRIN_EXPORT extern "C"

namespace {

const wchar_t kProviderKey[] = L"Windows CE Services\\synchronization\\objects\\Vorlan";
const wchar_t kStoreName[] = L"Zephrin.dll";

// The library's one object type, made when it is loaded.
std::unique_ptr<CBaseFolder> folders[1];

void CreateFolderTable() { folders[0] = std::make_unique<CVorlanFolder>(); }
void DeleteFolderTable() {
    for (auto& folder : folders) folder.reset();
}

CBaseFolder* FindFolder(const wchar_t* name) {
    for (auto& folder : folders)
        if (folder && std::wcscmp(folder->GetName(), name) == 0) return folder.get();
    return nullptr;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) CreateFolderTable();
    else if (reason == DLL_PROCESS_DETACH) DeleteFolderTable();
    return TRUE;
}

ZEPHRIN_EXPORT BOOL WINAPI InitObjType(LPWSTR lpszObjType, ce::IReplObjHandler** ppObjHandler, UINT uPartnerBit) {
    if (!lpszObjType) {
        BOOL all = TRUE;
        for (auto& folder : folders)
            if (folder && !folder->Close()) all = FALSE;
        return all;
    }
    CBaseFolder* folder = FindFolder(lpszObjType);
    if (!folder) return FALSE;
    if (ppObjHandler) *ppObjHandler = nullptr;
    return folder->Init(ppObjHandler, uPartnerBit);
}

ZEPHRIN_EXPORT BOOL WINAPI ObjectNotify(ce::OBJNOTIFY* pNotify) {
    if (!pNotify) return FALSE;
    CBaseFolder* folder = FindFolder(pNotify->szObjType);
    return folder ? folder->ObjectNotify(pNotify) : FALSE;
}

ZEPHRIN_EXPORT BOOL WINAPI GetObjTypeInfo(ce::OBJTYPEINFO* pInfo) {
    if (!pInfo) return FALSE;
    CBaseFolder* folder = FindFolder(pInfo->szObjType);
    return folder ? folder->GetObjTypeInfo(pInfo) : FALSE;
}

ZEPHRIN_EXPORT BOOL WINAPI ReportStatus(LPWSTR, UINT, UINT) { return TRUE; }

ZEPHRIN_EXPORT HRESULT STDAPICALLTYPE DllRegisterServer() {
    HKEY key = nullptr;
    LONG error = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProviderKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (error == ERROR_SUCCESS) {
        error = RegSetValueExW(key, L"Store", 0, REG_SZ, reinterpret_cast<const BYTE*>(kStoreName), sizeof kStoreName);
        RegCloseKey(key);
    }
    return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error);
}

ZEPHRIN_EXPORT HRESULT STDAPICALLTYPE DllUnregisterServer() {
    const LONG error = RegDeleteKeyW(HKEY_LOCAL_MACHINE, kProviderKey);
    return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error);
}
