#include "FileItemWizard.h"

#include "FileItemPropSheet.h"
#include "NodeFields.h"
#include "OleScope.h"
#include "Resource.h"
#include "VorlanProperties.h"
#include "WizardUrlKind.h"

namespace vorlan::filesync {

HRESULT ConfigureFileItem(IInfoNode** node, VARIANT_BOOL) {
    if (!node || !*node) return E_POINTER;
    IInfoNode* item = *node;
    const FileItemTexts texts = {GetNodeField(item, "OriginUrl"), GetNodeField(item, "Dest"),
                                 GetNodeField(item, "FileAttributes"), GetNodeField(item, "DownloadAttributes")};
    FileItemPages values = LoadFileItemPages(texts, GetNodeField(item, "QvMy_URL"), &WizardUrlKind);

    // OLE for the wizard's life, for its lists' drag and drop.
    OleScope ole;
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
