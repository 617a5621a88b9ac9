#pragma once
// The file plug-in's item dialog (IVorlanProperties::ConfigNodeDlg): the
// wizard over the item's OriginUrl, Dest, FileAttributes and
// DownloadAttributes, relative paths judged against its QvMy_URL.
#include "infonode.h"

namespace vorlan::filesync {

// S_OK after Finish, the item's four texts rewritten; 1223 after Cancel,
// the item as it was; E_POINTER without an item; E_FAIL when the wizard
// could not be shown. Missing keys read as empty texts.
HRESULT ConfigureFileItem(IInfoNode** node, VARIANT_BOOL isNew);

}  // namespace vorlan::filesync
