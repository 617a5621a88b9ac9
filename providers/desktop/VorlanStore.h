#pragma once
// The store ActiveSync's service manager loads for the object type
// "Vorlan": one folder, whose one item is the marker file.
#include <windows.h>

#include <memory>

#include "ReplStore.h"

namespace vorlan::provider {

class CVorlanFolder;

class CVorlanStore final : public IReplStore {
public:
    // The store identifier: the DWORD 12345, little-endian.
    static constexpr UINT kStoreIdSize = 4;

    CVorlanStore();
    CVorlanStore(const CVorlanStore&) = delete;
    CVorlanStore& operator=(const CVorlanStore&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Initialize(IReplNotify* pNotify, UINT uFlags) override;
    HRESULT STDMETHODCALLTYPE GetStoreInfo(STOREINFO* pStoreInfo) override;
    HRESULT STDMETHODCALLTYPE ReportStatus(HREPLFLD hFolder, HREPLITEM hItem, UINT uStatus, UINT uParam) override;
    int STDMETHODCALLTYPE CompareStoreIDs(LPBYTE lpbID1, UINT cbID1, LPBYTE lpbID2, UINT cbID2) override;
    int STDMETHODCALLTYPE CompareItem(HREPLITEM hItem1, HREPLITEM hItem2) override;
    BOOL STDMETHODCALLTYPE IsItemChanged(HREPLFLD hFolder, HREPLITEM hItem, HREPLITEM hItemComp) override;
    BOOL STDMETHODCALLTYPE IsItemReplicated(HREPLFLD hFolder, HREPLITEM hItem) override;
    void STDMETHODCALLTYPE UpdateItem(HREPLFLD hFolder, HREPLITEM hItemDst, HREPLITEM hItemSrc) override;
    HRESULT STDMETHODCALLTYPE GetFolderInfo(LPSTR lpszObjType, HREPLFLD* phFld, IUnknown** ppObjHandler) override;
    HRESULT STDMETHODCALLTYPE IsFolderChanged(HREPLFLD hFolder, BOOL* pfChanged) override;
    HRESULT STDMETHODCALLTYPE FindFirstItem(HREPLFLD hFolder, HREPLITEM* phItem, BOOL* pfExist) override;
    HRESULT STDMETHODCALLTYPE FindNextItem(HREPLFLD hFolder, HREPLITEM* phItem, BOOL* pfExist) override;
    HRESULT STDMETHODCALLTYPE FindItemClose(HREPLFLD hFolder) override;
    UINT STDMETHODCALLTYPE ObjectToBytes(HREPLOBJ hObject, LPBYTE lpb) override;
    HREPLOBJ STDMETHODCALLTYPE BytesToObject(LPBYTE lpb, UINT cb) override;
    void STDMETHODCALLTYPE FreeObject(HREPLOBJ hObject) override;
    BOOL STDMETHODCALLTYPE CopyObject(HREPLOBJ hObjSrc, HREPLOBJ hObjDst) override;
    HRESULT STDMETHODCALLTYPE IsValidObject(HREPLFLD hFolder, HREPLITEM hItem, UINT uFlags) override;
    HRESULT STDMETHODCALLTYPE ActivateDialog(UINT uDlg, HWND hwndParent, HREPLFLD hFolder,
                                             IEnumReplItem* penum) override;
    HRESULT STDMETHODCALLTYPE GetObjTypeUIData(HREPLFLD hFolder, OBJUIDATA* pData) override;
    HRESULT STDMETHODCALLTYPE GetConflictInfo(CONFINFO* pConfInfo) override;
    HRESULT STDMETHODCALLTYPE RemoveDuplicates(LPSTR lpszObjType, UINT uFlags) override;

private:
    ~CVorlanStore();

    volatile LONG references_ = 1;
    IReplNotify* notify_ = nullptr;
    bool initialized_ = false;
    // The table of object types: exactly one.
    std::unique_ptr<CVorlanFolder> folder_;
};

}  // namespace vorlan::provider
