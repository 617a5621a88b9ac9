#pragma once
// One object type of the store. The store finds it through the folder
// handle and forwards to it every call that names the folder.
#include <windows.h>

#include "ReplObjects.h"
#include "ReplStore.h"

namespace vorlan::provider {

class CBaseFolder {
public:
    virtual ~CBaseFolder() = default;
    virtual const char* GetPluralName() const = 0;
    virtual const char* GetItemName() const = 0;
    virtual const char* GetName() const = 0;
    // With compare: whether the two times differ; else whether the file
    // changed since the item's time was taken.
    virtual BOOL IsItemChanged(const CReplItem& item, const CReplItem* compare) = 0;
    virtual BOOL IsItemReplicated(const CReplItem& item) = 0;
    // A new object handler for this type, with one reference for the caller.
    virtual HRESULT GetObjHandler(IUnknown** handler) = 0;
    virtual HRESULT IsValidObject(const CReplItem& item, UINT flags) = 0;
    virtual HRESULT IsFolderChanged(BOOL* changed) = 0;
    virtual HRESULT DeleteObj(const CReplItem& item) = 0;
    virtual HRESULT FindFirstItem(HREPLITEM* item, BOOL* exist) = 0;
    virtual HRESULT FindNextItem(HREPLITEM* item, BOOL* exist) = 0;
    virtual HRESULT FindItemClose() = 0;
    virtual HRESULT RemoveDuplicates(UINT flags) = 0;
    // Without a source: the destination takes its file's current time.
    virtual HRESULT UpdateItem(CReplItem& destination, const CReplItem* source) = 0;
    virtual HRESULT GetObjTypeUIData(OBJUIDATA* data) = 0;
    virtual HRESULT ActivateDialog(UINT dialog, HWND parent, IEnumReplItem* items) = 0;
    virtual HRESULT GetConflictInfo(CONFINFO* info) = 0;
};

}  // namespace vorlan::provider
