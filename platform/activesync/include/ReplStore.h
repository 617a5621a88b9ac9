#pragma once
// The interfaces between ActiveSync's service manager and a desktop
// provider (the store of one or more object types), in their ANSI desktop
// form, with the records and numbers they exchange.
//
// Who owns what:
//  - Handles (HREPLFLD, HREPLITEM) are objects of the provider. The manager
//    keeps them, serialises them with ObjectToBytes, makes them again with
//    BytesToObject, and gives each back to FreeObject when done.
//  - GetFolderInfo hands out a new object handler as IUnknown, with one
//    reference the caller releases.
//  - GetPacket's buffer stays the handler's; it is valid until the next
//    GetPacket or Reset.
#include <windows.h>
#include <ole2.h>

struct ReplObjectHandle;
typedef ReplObjectHandle* HREPLOBJ;
typedef HREPLOBJ HREPLFLD;
typedef HREPLOBJ HREPLITEM;

struct IReplStore;
struct IReplNotify;

// What the store tells about itself (GetStoreInfo).
struct STOREINFO {
    UINT cbStruct;
    UINT uFlags;              // SCF_ flags
    char szProgId[256];
    char szStoreDesc[200];
    UINT uTimerRes;           // milliseconds between change checks; 0xFFFFFFFF for none
    UINT cbMaxStoreId;        // size of lpbStoreId, set by the caller
    UINT cbStoreId;           // size of the identifier, set by the store
    LPBYTE lpbStoreId;
};

// One transfer of an object through the object handler.
struct REPLSETUP {
    UINT cbStruct;
    BOOL fRead;               // TRUE: the store's object is read (desktop -> device)
    DWORD dwFlags;            // RSF_ flags
    HRESULT hr;
    char szObjType[100];
    IReplNotify* pNotify;
    DWORD oid;                // the device object, 0 when none
    DWORD oidNew;
    IReplStore* pStore;
    HREPLFLD hFolder;
    HREPLITEM hItem;          // with RSF_NEW_OBJECT the store puts its new item here
};

// How the manager shows an object type.
struct OBJUIDATA {
    UINT cbStruct;
    HICON hIconLarge;
    HICON hIconSmall;
    char szName[MAX_PATH];
    char szSyncText[MAX_PATH];
    char szTypeText[80];
    char szPlTypeText[80];
};

// A conflict between a desktop and a device object.
struct CONFINFO {
    UINT cbStruct;
    HREPLFLD hFolder;
    HREPLITEM hLocalItem;
    HREPLITEM hRemoteItem;
    char szLocalName[MAX_PATH];
    char szLocalDesc[512];
    char szRemoteName[MAX_PATH];
    char szRemoteDesc[512];
};

// The manager's side, handed to IReplStore::Initialize.
struct IReplNotify : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetStatusText(LPSTR lpszText) = 0;
    virtual HWND STDMETHODCALLTYPE GetWindow(UINT uFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnItemNotify(UINT uCode, LPSTR lpszProgId, LPSTR lpszName, HREPLITEM hItem,
                                                   ULONG ulFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE QueryDevice(UINT uCode, LPVOID* ppvData) = 0;
};

// Items of a folder, handed to IReplStore::ActivateDialog.
struct IEnumReplItem : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, HREPLITEM* phItem, ULONG* pceltFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumReplItem** ppenum) = 0;
    virtual HREPLFLD STDMETHODCALLTYPE GetFolderHandle() = 0;
};

// Moves one object's bytes in packets.
struct IReplObjHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Setup(REPLSETUP* pSetup) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset(REPLSETUP* pSetup) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPacket(LPBYTE* lppbData, DWORD* pcbData, DWORD cbRecommend) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPacket(LPBYTE lpbData, DWORD cbData) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteObj(REPLSETUP* pSetup) = 0;
};

// The store of the provider's object types.
struct IReplStore : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Initialize(IReplNotify* pNotify, UINT uFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStoreInfo(STOREINFO* pStoreInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReportStatus(HREPLFLD hFolder, HREPLITEM hItem, UINT uStatus, UINT uParam) = 0;
    virtual int STDMETHODCALLTYPE CompareStoreIDs(LPBYTE lpbID1, UINT cbID1, LPBYTE lpbID2, UINT cbID2) = 0;
    virtual int STDMETHODCALLTYPE CompareItem(HREPLITEM hItem1, HREPLITEM hItem2) = 0;
    virtual BOOL STDMETHODCALLTYPE IsItemChanged(HREPLFLD hFolder, HREPLITEM hItem, HREPLITEM hItemComp) = 0;
    virtual BOOL STDMETHODCALLTYPE IsItemReplicated(HREPLFLD hFolder, HREPLITEM hItem) = 0;
    virtual void STDMETHODCALLTYPE UpdateItem(HREPLFLD hFolder, HREPLITEM hItemDst, HREPLITEM hItemSrc) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFolderInfo(LPSTR lpszObjType, HREPLFLD* phFld, IUnknown** ppObjHandler) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsFolderChanged(HREPLFLD hFolder, BOOL* pfChanged) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirstItem(HREPLFLD hFolder, HREPLITEM* phItem, BOOL* pfExist) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindNextItem(HREPLFLD hFolder, HREPLITEM* phItem, BOOL* pfExist) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindItemClose(HREPLFLD hFolder) = 0;
    virtual UINT STDMETHODCALLTYPE ObjectToBytes(HREPLOBJ hObject, LPBYTE lpb) = 0;
    virtual HREPLOBJ STDMETHODCALLTYPE BytesToObject(LPBYTE lpb, UINT cb) = 0;
    virtual void STDMETHODCALLTYPE FreeObject(HREPLOBJ hObject) = 0;
    virtual BOOL STDMETHODCALLTYPE CopyObject(HREPLOBJ hObjSrc, HREPLOBJ hObjDst) = 0;
    virtual HRESULT STDMETHODCALLTYPE IsValidObject(HREPLFLD hFolder, HREPLITEM hItem, UINT uFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE ActivateDialog(UINT uDlg, HWND hwndParent, HREPLFLD hFolder,
                                                     IEnumReplItem* penum) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetObjTypeUIData(HREPLFLD hFolder, OBJUIDATA* pData) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetConflictInfo(CONFINFO* pConfInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveDuplicates(LPSTR lpszObjType, UINT uFlags) = 0;
};

// {A417BC0F-7BE1-11CE-AD82-00AA006EC559}
inline constexpr IID IID_IReplStore = {0xA417BC0F, 0x7BE1, 0x11CE, {0xAD, 0x82, 0x00, 0xAA, 0x00, 0x6E, 0xC5, 0x59}};

// STOREINFO::uFlags: every call comes on the thread that created the store.
inline constexpr UINT SCF_SINGLE_THREAD = 0x1;
// REPLSETUP::dwFlags: the object is new on the store's side.
inline constexpr DWORD RSF_NEW_OBJECT = 0x2;

// ReportStatus codes.
inline constexpr UINT RSC_BEGIN_SYNC = 1;
inline constexpr UINT RSC_END_SYNC = 2;
inline constexpr UINT RSC_BEGIN_CHECK = 3;
inline constexpr UINT RSC_END_CHECK = 4;
inline constexpr UINT RSC_RELEASE = 6;

// Results that cross the interfaces.
namespace vorlan::activesync {
inline constexpr HRESULT kLastPacket = 0x00140001;              // GetPacket: this was the object's last packet
inline constexpr HRESULT kNoConflictInfo = static_cast<HRESULT>(0x80140005);   // the store resolves no conflicts
inline constexpr HRESULT kObjectDeleted = static_cast<HRESULT>(0x80140007);    // IsValidObject: the object is gone
inline constexpr HRESULT kCannotWriteObject = static_cast<HRESULT>(0x80140100);
inline constexpr HRESULT kCannotReadObject = static_cast<HRESULT>(0x80140101);
}  // namespace vorlan::activesync
