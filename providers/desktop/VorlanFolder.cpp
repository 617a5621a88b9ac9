#include "VorlanFolder.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "MessageBox.h"
#include "ProviderIds.h"
#include "VorlanModule.h"
#include "VorlanObjHandler.h"

namespace vorlan::provider {
namespace {

bool FileTime(const char* path, FILETIME& time) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
    time = data.ftLastWriteTime;
    return true;
}

void CopyText(char* out, size_t size, const char* text) { std::snprintf(out, size, "%s", text); }

}  // namespace

CVorlanFolder::CVorlanFolder(CVorlanStore* store) : store_(store) {
    comInitialized_ = SUCCEEDED(CoInitialize(nullptr));
    // Without the core every enumeration says so (FindFirstItem).
    CoCreateInstance(CLSID_VorlanMain, nullptr, CLSCTX_INPROC_SERVER, IID_IVorlanMain,
                     reinterpret_cast<void**>(&core_));
    WriteMarker();
}

CVorlanFolder::~CVorlanFolder() {
    if (core_) core_->Release();
    if (comInitialized_) CoUninitialize();
}

bool CVorlanFolder::GetMarkerPath(char (&path)[kNameSize]) {
    const DWORD length = ExpandEnvironmentStringsA("%temp%\\Vorlan.txt", path, kNameSize);
    if (length == 0 || length > kNameSize) {
        path[0] = '\0';
        return false;
    }
    return true;
}

void CVorlanFolder::WriteMarker() {
    char path[kNameSize];
    if (GetMarkerPath(path)) WritePrivateProfileStringA("Vorlan", "Sync", "True", path);
}

const char* CVorlanFolder::GetName() const { return kObjectType; }

BOOL CVorlanFolder::IsItemChanged(const CReplItem& item, const CReplItem* compare) {
    if (compare) return CompareFileTime(&item.Time(), &compare->Time()) != 0;
    FILETIME current;
    if (!FileTime(item.Name(), current)) return FALSE;
    return CompareFileTime(&item.Time(), &current) != 0;
}

BOOL CVorlanFolder::IsItemReplicated(const CReplItem&) { return TRUE; }

HRESULT CVorlanFolder::GetObjHandler(IUnknown** handler) { return CVorlanObjHandler::Create(this, handler); }

HRESULT CVorlanFolder::IsValidObject(const CReplItem& item, UINT) {
    return GetFileAttributesA(item.Name()) != INVALID_FILE_ATTRIBUTES ? S_OK : activesync::kObjectDeleted;
}

HRESULT CVorlanFolder::IsFolderChanged(BOOL* changed) {
    *changed = TRUE;
    return S_OK;
}

HRESULT CVorlanFolder::DeleteObj(const CReplItem& item) {
    if (DeleteFileA(item.Name())) return S_OK;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(error);
}

HRESULT CVorlanFolder::FindFirstItem(HREPLITEM* item, BOOL* exist) {
    *item = nullptr;
    *exist = FALSE;
    char path[kNameSize];
    FILETIME time;
    if (!GetMarkerPath(path) || !FileTime(path, time)) return S_OK;  // no marker, no run

    auto* marker = new (std::nothrow) CReplItem;
    if (!marker) return E_OUTOFMEMORY;
    marker->SetName(path);
    marker->SetTime(time);
    *item = marker->Handle();
    *exist = TRUE;

    if (core_) {
        // The core reports its own failures; the run is the whole point here.
        core_->Init();
        core_->Sync(nullptr);
    } else {
        ShowMessageBox(nullptr, "Fail to create ISyncMain.\nPlease reinstall Vorlan.", "COM error",
                       MB_OK | MB_ICONERROR);
    }
    return S_OK;
}

HRESULT CVorlanFolder::FindNextItem(HREPLITEM* item, BOOL* exist) {
    // The marker is the only item.
    *item = nullptr;
    *exist = FALSE;
    return S_OK;
}

HRESULT CVorlanFolder::FindItemClose() { return S_OK; }

HRESULT CVorlanFolder::RemoveDuplicates(UINT) { return S_OK; }

HRESULT CVorlanFolder::UpdateItem(CReplItem& destination, const CReplItem* source) {
    if (source) {
        destination.SetTime(source->Time());
        return S_OK;
    }
    FILETIME time;
    if (!FileTime(destination.Name(), time)) return HRESULT_FROM_WIN32(GetLastError());
    destination.SetTime(time);
    return S_OK;
}

HRESULT CVorlanFolder::GetObjTypeUIData(OBJUIDATA* data) {
    const HINSTANCE module = g_module.Instance();
    data->hIconLarge = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(kIconResource), IMAGE_ICON, 32, 32, 0));
    data->hIconSmall = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(kIconResource), IMAGE_ICON, 16, 16, 0));
    CopyText(data->szName, sizeof data->szName, GetName());
    CopyText(data->szTypeText, sizeof data->szTypeText, GetItemName());
    CopyText(data->szPlTypeText, sizeof data->szPlTypeText, GetPluralName());
    char path[kNameSize];
    GetMarkerPath(path);
    CopyText(data->szSyncText, sizeof data->szSyncText, path);
    return S_OK;
}

HRESULT CVorlanFolder::ActivateDialog(UINT dialog, HWND, IEnumReplItem*) {
    if (dialog != 0) return S_OK;
    IVorlanMain* core = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_VorlanMain, nullptr, CLSCTX_INPROC_SERVER, IID_IVorlanMain,
                                   reinterpret_cast<void**>(&core)))) {
        core->ConfigurationDlgBox();
        core->Release();
    }
    return S_OK;
}

HRESULT CVorlanFolder::GetConflictInfo(CONFINFO*) { return activesync::kNoConflictInfo; }

}  // namespace vorlan::provider
