#pragma once
// The interfaces between the device's replication service and a device
// provider (the library named by "Store" under the device's
// HKEY_LOCAL_MACHINE\Windows CE Services\synchronization\objects\<type>),
// in their UTF-16 device form. They live in namespace ce so that a file may
// see them beside the desktop forms of ReplStore.h.
//
// Who owns what:
//  - InitObjType hands out a new object handler with one reference, which
//    the service releases when the connection ends.
//  - ObjectNotify points poid at identifiers the provider keeps; the
//    service copies them at once.
//  - GetPacket's buffer stays the handler's until the next GetPacket or Reset.
#include <windows.h>
#include <ole2.h>

#include "CeTypes.h"

namespace ce {

inline constexpr int kMaxObjTypeName = 100;

struct IReplNotify;

// One transfer of an object through the device's object handler.
struct REPLSETUP {
    UINT cbStruct;
    BOOL fRead;               // TRUE: the device's object is read (device -> desktop)
    DWORD dwFlags;            // RSF_ flags
    HRESULT hr;
    WCHAR szObjType[kMaxObjTypeName];
    IReplNotify* pNotify;
    CEOID oid;                // the device object, 0 when none
    CEOID oidNew;             // a write: the object the provider wrote
};

// The service asks a provider about one object of the device.
struct OBJNOTIFY {
    UINT cbStruct;
    WCHAR szObjType[kMaxObjTypeName];
    UINT uFlags;              // ONF_ flags
    UINT uPartnerBit;         // 1 or 2: the desktop partner connected
    CEOID oidObject;
    CEOIDINFO oidInfo;
    UINT cOidChg;             // set by the provider: identifiers in poid that changed,
    UINT cOidDel;             // then as many that were deleted
    UINT* poid;
    LPBYTE lpbVolumeID;
    UINT cbVolumeID;
};
// Providers refuse records shorter than the smallest form the service sends.
static_assert(sizeof(OBJNOTIFY) >= 780, "OBJNOTIFY is at least the size providers accept");

// What the provider has of its object type.
struct OBJTYPEINFO {
    UINT cbStruct;
    WCHAR szObjType[kMaxObjTypeName];
    UINT uFlags;
    WCHAR szName[80];
    UINT cObjects;
    UINT cbAllObj;
    FILETIME ftLastModified;
};

// Moves one object's bytes in packets.
struct IReplObjHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Setup(REPLSETUP* pSetup) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset(REPLSETUP* pSetup) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPacket(LPBYTE* lppbData, DWORD* pcbData, DWORD cbRecommend) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPacket(LPBYTE lpbData, DWORD cbData) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteObj(REPLSETUP* pSetup) = 0;
};

// OBJNOTIFY::uFlags.
inline constexpr UINT ONF_FILE = 0x1;
inline constexpr UINT ONF_CHANGED = 0x10;
inline constexpr UINT ONF_DELETED = 0x20;
inline constexpr UINT ONF_CLEAR_CHANGE = 0x40;

// The provider's exports, as the service binds them by name.
typedef BOOL(WINAPI* InitObjTypeFn)(LPWSTR lpszObjType, IReplObjHandler** ppObjHandler, UINT uPartnerBit);
typedef BOOL(WINAPI* ObjectNotifyFn)(OBJNOTIFY* pNotify);
typedef BOOL(WINAPI* GetObjTypeInfoFn)(OBJTYPEINFO* pInfo);
typedef BOOL(WINAPI* ReportStatusFn)(LPWSTR lpszObjType, UINT uCode, UINT uParam);

// Where the device keeps its object types.
inline constexpr wchar_t kDeviceObjectsKey[] = L"Windows CE Services\\synchronization\\objects";

}  // namespace ce
