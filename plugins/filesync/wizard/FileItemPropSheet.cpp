#include "FileItemPropSheet.h"

namespace vorlan::filesync {

CFileItemPropSheet::CFileItemPropSheet(UINT captionId, FileItemPages& values, HWND parent, UINT firstPage)
    : CPropertySheet(captionId, parent, firstPage),
      operation_(values),
      origin_(values),
      destination_(values),
      folder_(values),
      options_(values) {
    for (CPropertyPage* page : {static_cast<CPropertyPage*>(&operation_), static_cast<CPropertyPage*>(&origin_),
                                static_cast<CPropertyPage*>(&destination_), static_cast<CPropertyPage*>(&folder_),
                                static_cast<CPropertyPage*>(&options_)})
        AddPage(page);
    SetWizardMode();
}

}  // namespace vorlan::filesync
