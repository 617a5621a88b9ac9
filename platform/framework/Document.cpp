#include "Document.h"

#include "MessageBox.h"

namespace vorlan {

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::SaveModified() {
    if (!IsModified()) return TRUE;
    const std::string name = title_.empty() ? "Untitled" : title_;
    switch (ShowMessageBox(nullptr, "Save changes to " + name + "?", name, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
        return OnSaveDocument();
    case IDNO:
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace vorlan
