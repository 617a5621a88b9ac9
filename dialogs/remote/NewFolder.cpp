#include "NewFolder.h"

#include "Resource.h"

namespace vorlan {

CNewFolder::CNewFolder() : CDialog(IDD_NEW_FOLDER) {}

void CNewFolder::DoDataExchange(CDataExchange* dx) { DDX_Text(dx, IDC_NEW_FOLDER_NAME, m_name); }

}  // namespace vorlan
