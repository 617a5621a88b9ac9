#pragma once
// The object type "Vorlan". Its only item is a marker file in the user's
// temporary folder, and enumerating that item is where the synchronisation
// core runs the default project.
#include "BaseFolder.h"
#include "corvath.h"

namespace vorlan::provider {

class CVorlanStore;

class CVorlanFolder : public CBaseFolder {
public:
    // Initialises COM for the thread, creates the core's entry object and
    // writes the marker.
    explicit CVorlanFolder(CVorlanStore* store);
    ~CVorlanFolder() override;
    CVorlanFolder(const CVorlanFolder&) = delete;
    CVorlanFolder& operator=(const CVorlanFolder&) = delete;

    // "%temp%\Vorlan.txt", expanded anew; false when it does not fit.
    static bool GetMarkerPath(char (&path)[kNameSize]);

    CVorlanStore* Store() const { return store_; }

    const char* GetPluralName() const override { return "Vorlan Items"; }
    const char* GetItemName() const override { return "Vorlan Item"; }
    const char* GetName() const override;
    BOOL IsItemChanged(const CReplItem& item, const CReplItem* compare) override;
    BOOL IsItemReplicated(const CReplItem& item) override;
    HRESULT GetObjHandler(IUnknown** handler) override;
    HRESULT IsValidObject(const CReplItem& item, UINT flags) override;
    HRESULT IsFolderChanged(BOOL* changed) override;
    HRESULT DeleteObj(const CReplItem& item) override;
    HRESULT FindFirstItem(HREPLITEM* item, BOOL* exist) override;
    HRESULT FindNextItem(HREPLITEM* item, BOOL* exist) override;
    HRESULT FindItemClose() override;
    HRESULT RemoveDuplicates(UINT flags) override;
    HRESULT UpdateItem(CReplItem& destination, const CReplItem* source) override;
    HRESULT GetObjTypeUIData(OBJUIDATA* data) override;
    HRESULT ActivateDialog(UINT dialog, HWND parent, IEnumReplItem* items) override;
    HRESULT GetConflictInfo(CONFINFO* info) override;

private:
    static void WriteMarker();

    CVorlanStore* store_;
    IVorlanMain* core_ = nullptr;
    // Only a CoInitialize that succeeded is undone: on a thread of another
    // apartment kind it fails, and uninitialising would end the host's COM.
    bool comInitialized_ = false;
};

}  // namespace vorlan::provider
