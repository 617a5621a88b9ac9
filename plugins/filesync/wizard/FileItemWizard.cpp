#include "FileItemWizard.h"

#include <ole2.h>

#include "FileItemPropSheet.h"
#include "NodeFields.h"
#include "Resource.h"
#include "VorlanProperties.h"
#include "WizardUrlKind.h"

namespace vorlan::filesync {
namespace {

// OLE for the wizard's life (its lists' drag and drop), balanced; a caller
// in a multi-threaded apartment keeps it, and the lists work without.
class OleForWizard {
public:
    OleForWizard() : result_(OleInitialize(nullptr)) {}
    ~OleForWizard() {
        if (SUCCEEDED(result_)) OleUninitialize();
    }
    OleForWizard(const OleForWizard&) = delete;
    OleForWizard& operator=(const OleForWizard&) = delete;
    bool Ready() const { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

}  // namespace

HRESULT ConfigureFileItem(IInfoNode** node, VARIANT_BOOL) {
    if (!node || !*node) return E_POINTER;
    IInfoNode* item = *node;
    const FileItemTexts texts = {GetNodeField(item, "OriginUrl"), GetNodeField(item, "Dest"),
                                 GetNodeField(item, "FileAttributes"), GetNodeField(item, "DownloadAttributes")};
    FileItemPages values = LoadFileItemPages(texts, GetNodeField(item, "QvMy_URL"), &WizardUrlKind);

    OleForWizard ole;
    CFileItemPropSheet sheet(IDS_READABLE_NAME, values);
    const INT_PTR answer = sheet.DoModal();
    if (answer == -1) return E_FAIL;
    if (answer != ID_WIZFINISH) return kDialogCancelled;

    const FileItemTexts stored = StoreFileItemPages(values, &WizardUrlKind);
    for (HRESULT hr : {SetNodeField(item, "OriginUrl", stored.originUrl), SetNodeField(item, "Dest", stored.dest),
                       SetNodeField(item, "FileAttributes", stored.fileAttributes),
                       SetNodeField(item, "DownloadAttributes", stored.downloadAttributes)})
        if (FAILED(hr)) return hr;
    return S_OK;
}

}  // namespace vorlan::filesync
