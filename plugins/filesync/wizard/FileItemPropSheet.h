#pragma once
// CFileItemPropSheet: the file item wizard, five pages in wizard mode over
// one set of values. Which pages a run visits follows the operation chosen
// on the first.
#include "FileDestinyProgPg.h"
#include "FileManagementPropPg.h"
#include "FileOriginPropPg.h"
#include "FileSyncOptionsPropPg.h"
#include "FolderOriginPropPg.h"
#include "PropertySheet.h"

namespace vorlan::filesync {

class CFileItemPropSheet : public CPropertySheet {
public:
    // The caption is string captionId of the current resource module; the
    // pages edit values, which must outlive the sheet.
    CFileItemPropSheet(UINT captionId, FileItemPages& values, HWND parent = nullptr, UINT firstPage = 0);

private:
    CFileManagementPropPg operation_;
    CFileOriginPropPg origin_;
    CFileDestinyProgPg destination_;
    CFolderOriginPropPg folder_;
    CFileSyncOptionsPropPg options_;
};

}  // namespace vorlan::filesync
