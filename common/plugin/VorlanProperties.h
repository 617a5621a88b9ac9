#pragma once
// CVorlanPropertiesT: the description object of a plug-in (IVorlanProperties),
// built from a static description of the plug-in's table. It is stateless:
// every answer comes from the description and the plug-in's own resources.
#include <windows.h>
#include <ole2.h>

#include "Bstr.h"
#include "ComCall.h"
#include "ComObject.h"
#include "ComPtr.h"
#include "DispatchImpl.h"
#include "ModuleState.h"
#include "SupportErrorInfo.h"
#include "pindrel.h"
#include "vorlan.h"

namespace vorlan {

// What an item dialog answers after Cancel: ERROR_CANCELLED (1223) as a
// success-valued HRESULT, so hosts compare with it rather than FAILED().
inline constexpr HRESULT kDialogCancelled = ERROR_CANCELLED;

struct PluginDescription {
    const char* progId;           // of the plug-in's Vorlan class ("" for none)
    const char* tableName;        // element name of the table's rows
    const char* const* fields;    // attribute names in column order
    int fieldCount;               // entries of fields
    short columnCount;            // what ColumnCount answers
    UINT readableNameId;          // string resources
    UINT descriptionId;
    UINT selectedIconId;          // icon resources
    UINT unselectedIconId;
    // The item dialog: S_OK after OK (values written into *node),
    // kDialogCancelled after Cancel with the node left as it was.
    HRESULT (*configure)(IInfoNode** node, VARIANT_BOOL isNew);
};

// A string resource of the current resource module as a new BSTR.
HRESULT LoadStringBstr(UINT id, BSTR* out);
// A new InfoNode holding "0" .. "n-1" = the column names.
HRESULT MakeFieldNames(const char* const* fields, int count, IInfoNode** out);

template <const PluginDescription& kDescription>
class CVorlanPropertiesT : public com::ComObjectRoot,
                           public com::DispatchImpl<IVorlanProperties>,
                           public com::SupportErrorInfoImpl<IVorlanProperties> {
public:
    void* FindInterface(REFIID iid) {
        return com::FindInterfaceOf<IVorlanProperties, com::Via<IDispatch, IVorlanProperties>,
                                    ISupportErrorInfo>(this, iid);
    }

    STDMETHODIMP get_SelectedIcon(HICON* pVal) override {
        return Icon(kDescription.selectedIconId, pVal);
    }
    STDMETHODIMP get_UnselectedIcon(HICON* pVal) override {
        return Icon(kDescription.unselectedIconId, pVal);
    }
    STDMETHODIMP get_ProgId(BSTR* pVal) override { return Text(kDescription.progId, pVal); }
    STDMETHODIMP get_ReadableName(BSTR* pVal) override {
        return Resource(kDescription.readableNameId, pVal);
    }
    STDMETHODIMP get_Description(BSTR* pVal) override {
        return Resource(kDescription.descriptionId, pVal);
    }
    STDMETHODIMP get_FieldNames(IInfoNode** ppVal) override {
        ModuleStateGuard state(com::ComModule::Instance().Handle());
        return com::ComCall([&] {
            return MakeFieldNames(kDescription.fields, kDescription.fieldCount, ppVal);
        });
    }
    STDMETHODIMP get_ColumnCount(short* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = kDescription.columnCount;
        return S_OK;
    }
    STDMETHODIMP ConfigNodeDlg(IInfoNode** ppDlgData, VARIANT_BOOL bNew) override {
        ModuleStateGuard state(com::ComModule::Instance().Handle());
        return com::ComCall([&] { return kDescription.configure(ppDlgData, bNew); });
    }
    STDMETHODIMP get_TableName(BSTR* pVal) override { return Text(kDescription.tableName, pVal); }

private:
    static HRESULT Icon(UINT id, HICON* out) {
        if (!out) return E_POINTER;
        ModuleStateGuard state(com::ComModule::Instance().Handle());
        *out = LoadIconW(CurrentResourceModule(), MAKEINTRESOURCEW(id));
        return S_OK;
    }
    static HRESULT Text(const char* text, BSTR* out) {
        if (!out) return E_POINTER;
        *out = com::AllocBstrFromAnsi(text);
        return *out ? S_OK : E_OUTOFMEMORY;
    }
    static HRESULT Resource(UINT id, BSTR* out) {
        ModuleStateGuard state(com::ComModule::Instance().Handle());
        return LoadStringBstr(id, out);
    }
};

}  // namespace vorlan
