#pragma once
// What the file item wizard's pages share: the values they show and edit
// (one FileItemPages for the whole sheet), the refusal box, and the
// browse buttons that fill a path edit from the device or the workstation.
#include <string>

#include "DialogHelper.h"
#include "FileItemPages.h"
#include "FileWizardFlow.h"
#include "PropertyPage.h"
#include "PropertySheet.h"

namespace vorlan::filesync {

// The template id of a page, as Next and Back name it.
int PageTemplate(WizardPage page);

class CFileWizardPage : public CPropertyPage {
public:
    CFileWizardPage(int templateId, FileItemPages& values);

protected:
    FileItemPages& Values() const { return values_; }
    const CDialogHelper& Helper() const { return helper_; }
    int Operation() const { return values_.operation; }
    // The platform's URL classification, and the kind of text judged
    // against the table's URL.
    static const UrlKindOf& UrlKinds();
    UrlKind KindOf(const std::string& text) const;
    std::string ItemText(int id) const;
    // A string of the page's own module, whichever thread asks.
    std::string Text(unsigned id) const;

    // The box of a refused value (caption "Feldane", error icon).
    void Refuse(unsigned stringId) const;
    // A check box and a flag of the values.
    static void ExchangeCheck(CDataExchange* dx, int id, bool& value);
    void SetWizardButtons(DWORD flags) const;

    // The "..." button of a path edit: the device's chooser when the path
    // is on the device, else the workstation's, starting where the path
    // points; the chosen path replaces the edit's text (a cancel leaves it).
    void BrowseInto(int editId, bool onDevice, bool folder) const;

private:
    FileItemPages& values_;
    CDialogHelper helper_;
};

}  // namespace vorlan::filesync
