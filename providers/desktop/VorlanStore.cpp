#include "VorlanStore.h"

#include <mbstring.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "ProviderIds.h"
#include "VorlanFolder.h"
#include "VorlanModule.h"

namespace vorlan::provider {
namespace {

constexpr BYTE kStoreId[CVorlanStore::kStoreIdSize] = {0x39, 0x30, 0x00, 0x00};

bool IsOurType(const char* type) { return type && std::strcmp(type, kObjectType) == 0; }

}  // namespace

CVorlanStore::CVorlanStore() : folder_(std::make_unique<CVorlanFolder>(this)) { g_module.ObjectCreated(); }

CVorlanStore::~CVorlanStore() {
    folder_.reset();
    if (notify_) notify_->Release();
    g_module.ObjectDestroyed();
}

HRESULT CVorlanStore::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IReplStore)) return E_NOINTERFACE;
    *out = static_cast<IReplStore*>(this);
    AddRef();
    return S_OK;
}

ULONG CVorlanStore::AddRef() { return InterlockedIncrement(&references_); }

ULONG CVorlanStore::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
}

HRESULT CVorlanStore::Initialize(IReplNotify* pNotify, UINT) {
    if (!pNotify) return E_INVALIDARG;
    pNotify->AddRef();
    if (notify_) notify_->Release();  // initialised again: the new one replaces it
    notify_ = pNotify;
    initialized_ = true;
    return S_OK;
}

HRESULT CVorlanStore::GetStoreInfo(STOREINFO* pStoreInfo) {
    if (!pStoreInfo) return E_INVALIDARG;
    pStoreInfo->uFlags = SCF_SINGLE_THREAD;
    std::snprintf(pStoreInfo->szProgId, sizeof pStoreInfo->szProgId, "%s", kProgId);
    std::snprintf(pStoreInfo->szStoreDesc, sizeof pStoreInfo->szStoreDesc, "%s", kStoreDescription);
    pStoreInfo->uTimerRes = 0xFFFFFFFF;
    if (!initialized_) return S_OK;
    pStoreInfo->cbStoreId = kStoreIdSize;
    if (pStoreInfo->cbMaxStoreId < kStoreIdSize) return E_OUTOFMEMORY;
    if (!pStoreInfo->lpbStoreId) return E_POINTER;
    std::memcpy(pStoreInfo->lpbStoreId, kStoreId, kStoreIdSize);
    return S_OK;
}

HRESULT CVorlanStore::ReportStatus(HREPLFLD, HREPLITEM, UINT uStatus, UINT) {
    if (uStatus == RSC_RELEASE && notify_) {
        notify_->Release();
        notify_ = nullptr;
    }
    return S_OK;
}

int CVorlanStore::CompareStoreIDs(LPBYTE lpbID1, UINT cbID1, LPBYTE lpbID2, UINT cbID2) {
    if (!lpbID1 || !lpbID2) return E_INVALIDARG;
    if (cbID1 != cbID2) return cbID1 < cbID2 ? -1 : 1;
    const int order = std::memcmp(lpbID1, lpbID2, cbID1);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

int CVorlanStore::CompareItem(HREPLITEM hItem1, HREPLITEM hItem2) {
    const CReplItem* first = CReplItem::FromHandle(hItem1);
    const CReplItem* second = CReplItem::FromHandle(hItem2);
    if (!first || !second) return E_INVALIDARG;
    return _mbscmp(reinterpret_cast<const unsigned char*>(first->Name()),
                   reinterpret_cast<const unsigned char*>(second->Name()));
}

BOOL CVorlanStore::IsItemChanged(HREPLFLD hFolder, HREPLITEM hItem, HREPLITEM hItemComp) {
    CReplFolder* folder = CReplFolder::FromHandle(hFolder);
    const CReplItem* item = CReplItem::FromHandle(hItem);
    if (!folder || !item) return FALSE;
    const CReplItem* compare = CReplItem::FromHandle(hItemComp);
    if (hItemComp && !compare) return FALSE;
    return folder->Folder()->IsItemChanged(*item, compare);
}

BOOL CVorlanStore::IsItemReplicated(HREPLFLD hFolder, HREPLITEM hItem) {
    CReplFolder* folder = CReplFolder::FromHandle(hFolder);
    if (!folder) return FALSE;
    if (!hItem) return TRUE;
    const CReplItem* item = CReplItem::FromHandle(hItem);
    return item ? folder->Folder()->IsItemReplicated(*item) : FALSE;
}

void CVorlanStore::UpdateItem(HREPLFLD hFolder, HREPLITEM hItemDst, HREPLITEM hItemSrc) {
    CReplFolder* folder = CReplFolder::FromHandle(hFolder);
    CReplItem* destination = CReplItem::FromHandle(hItemDst);
    if (!folder || !destination) return;
    const CReplItem* source = CReplItem::FromHandle(hItemSrc);
    if (hItemSrc && !source) return;
    // A file that cannot be read keeps the time it had; the next check
    // sees it as changed again.
    folder->Folder()->UpdateItem(*destination, source);
}

HRESULT CVorlanStore::GetFolderInfo(LPSTR lpszObjType, HREPLFLD* phFld, IUnknown** ppObjHandler) {
    if (!lpszObjType || !phFld || !ppObjHandler || !IsOurType(lpszObjType)) return E_INVALIDARG;
    const HRESULT hr = folder_->GetObjHandler(ppObjHandler);
    if (FAILED(hr)) return hr;
    if (*phFld) return S_OK;
    auto* folder = new (std::nothrow) CReplFolder(folder_.get());
    if (!folder) {
        (*ppObjHandler)->Release();
        *ppObjHandler = nullptr;
        return E_OUTOFMEMORY;
    }
    folder->SetName(kObjectType);
    *phFld = folder->Handle();
    return S_OK;
}

HRESULT CVorlanStore::IsFolderChanged(HREPLFLD hFolder, BOOL* pfChanged) {
    if (!pfChanged) return E_INVALIDARG;
    CReplFolder* folder = CReplFolder::FromHandle(hFolder);
    if (!folder) {
        *pfChanged = FALSE;
        return E_INVALIDARG;
    }
    return folder->Folder()->IsFolderChanged(pfChanged);
}

HRESULT CVorlanStore::FindFirstItem(HREPLFLD hFolder, HREPLITEM* phItem, BOOL* pfExist) {
    CReplFolder* folder = CReplFolder::FromHandle(hFolder);
    if (!folder || !phItem || !pfExist) return E_INVALIDARG;
    return folder->Folder()->FindFirstItem(phItem, pfExist);
}

HRESULT CVorlanStore::FindNextItem(HREPLFLD hFolder, HREPLITEM* phItem, BOOL* pfExist) {
    CReplFolder* folder = CReplFolder::FromHandle(hFolder);
    if (!folder || !phItem || !pfExist) return E_INVALIDARG;
    return folder->Folder()->FindNextItem(phItem, pfExist);
}

HRESULT CVorlanStore::FindItemClose(HREPLFLD hFolder) {
    CReplFolder* folder = CReplFolder::FromHandle(hFolder);
    return folder ? folder->Folder()->FindItemClose() : S_OK;
}

UINT CVorlanStore::ObjectToBytes(HREPLOBJ hObject, LPBYTE lpb) {
    const CReplObject* object = CReplObject::From(hObject);
    if (!object) return static_cast<UINT>(E_INVALIDARG);
    return ObjectBytes(*object, lpb);
}

HREPLOBJ CVorlanStore::BytesToObject(LPBYTE lpb, UINT cb) {
    const ParsedObject parsed = ParseObjectBytes(lpb, cb);
    if (parsed.kind == ParsedObject::kFolder) {
        if (parsed.name != kObjectType) return nullptr;
        auto* folder = new (std::nothrow) CReplFolder(folder_.get());
        if (!folder) return nullptr;
        folder->SetName(parsed.name);
        return folder->Handle();
    }
    if (parsed.kind == ParsedObject::kItem) {
        auto* item = new (std::nothrow) CReplItem;
        if (!item) return nullptr;
        item->SetName(parsed.name);
        item->SetTime(parsed.time);
        return item->Handle();
    }
    return nullptr;
}

void CVorlanStore::FreeObject(HREPLOBJ hObject) { delete CReplObject::From(hObject); }

BOOL CVorlanStore::CopyObject(HREPLOBJ hObjSrc, HREPLOBJ hObjDst) {
    CReplObject* source = CReplObject::From(hObjSrc);
    CReplObject* destination = CReplObject::From(hObjDst);
    if (!source || !destination || source->Tag() != destination->Tag()) return FALSE;
    if (source->Tag() == kFolderTag)
        static_cast<CReplFolder*>(destination)->CopyFrom(*static_cast<CReplFolder*>(source));
    else if (source->Tag() == kItemTag)
        static_cast<CReplItem*>(destination)->CopyFrom(*static_cast<CReplItem*>(source));
    else
        return FALSE;
    return TRUE;
}

HRESULT CVorlanStore::IsValidObject(HREPLFLD hFolder, HREPLITEM hItem, UINT uFlags) {
    const CReplObject* object = CReplObject::From(hFolder);
    if (!object) return E_INVALIDARG;
    if (object->Tag() != kFolderTag) return E_HANDLE;
    CReplFolder* folder = CReplFolder::FromHandle(hFolder);
    if (!folder) return E_INVALIDARG;
    if (!hItem) return S_OK;
    const CReplItem* item = CReplItem::FromHandle(hItem);
    if (!item) return E_HANDLE;
    return folder->Folder()->IsValidObject(*item, uFlags);
}

HRESULT CVorlanStore::ActivateDialog(UINT uDlg, HWND hwndParent, HREPLFLD hFolder, IEnumReplItem* penum) {
    CReplFolder* folder = CReplFolder::FromHandle(hFolder);
    if (!hwndParent || !folder || !penum) return E_INVALIDARG;
    return folder->Folder()->ActivateDialog(uDlg, hwndParent, penum);
}

HRESULT CVorlanStore::GetObjTypeUIData(HREPLFLD hFolder, OBJUIDATA* pData) {
    CReplFolder* folder = CReplFolder::FromHandle(hFolder);
    if (!folder || !pData) return E_INVALIDARG;
    return folder->Folder()->GetObjTypeUIData(pData);
}

HRESULT CVorlanStore::GetConflictInfo(CONFINFO* pConfInfo) { return folder_->GetConflictInfo(pConfInfo); }

HRESULT CVorlanStore::RemoveDuplicates(LPSTR lpszObjType, UINT uFlags) {
    if (!IsOurType(lpszObjType)) return E_INVALIDARG;
    return folder_->RemoveDuplicates(uFlags);
}

}  // namespace vorlan::provider
