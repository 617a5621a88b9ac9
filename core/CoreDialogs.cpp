#include "CoreDialogs.h"

#include "CoreItemConfig.h"
#include "VorlanCfgDlg.h"
#include "VorlanProperties.h"

namespace vorlan {

HRESULT ShowComponentDialog(IInfoNode** node, VARIANT_BOOL) {
    if (!node || !*node) return E_POINTER;
    CCoreItemConfig dialog(*node);
    switch (dialog.DoModal(GetActiveWindow())) {
        case IDOK: return S_OK;
        case -1: return E_FAIL;
        default: return kDialogCancelled;
    }
}

HRESULT ShowOptionsDialog() {
    CVorlanCfgDlg dialog;
    return dialog.DoModal(GetActiveWindow()) == -1 ? E_FAIL : S_OK;
}

}  // namespace vorlan
