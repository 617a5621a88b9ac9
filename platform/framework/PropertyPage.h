#pragma once
// A page of a property sheet (PropertySheet.h): a dialog template of the
// module that made the page object, with a message map and data exchange
// exactly as a CDialog has them.
//
//   class CNamePage : public CPropertyPage {
//   public:
//       CNamePage() : CPropertyPage(IDD_NAME) {}
//       std::string name;
//   protected:
//       void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, IDC_NAME, name); }
//       BOOL OnSetActive() override {
//           GetSheet()->SetWizardButtons(PSWIZB_NEXT);
//           return CPropertyPage::OnSetActive();
//       }
//       LRESULT OnWizardNext() override { return name.empty() ? -1 : 0; }
//   };
//
// Entering a page fills its controls from the members (OnInitDialog the
// first time, OnSetActive afterwards); leaving it reads them back
// (OnKillActive), and a value that is not valid keeps the page. Next and
// Finish read the controls before OnWizardNext and OnWizardFinish run, so
// those see what the user typed. Each page of a sheet has a template id of
// its own: OnWizardNext and OnWizardBack name a page by it.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "Dialog.h"

namespace vorlan {

class CPropertySheet;

class CPropertyPage : public CDialog {
public:
    // The template is loaded from resources, by default the module that the
    // current thread's resources come from. A caption replaces the
    // template's own as the page's title.
    explicit CPropertyPage(int templateId, const std::string& caption = {}, HINSTANCE resources = nullptr);

    using CDialog::ResourceModule;
    using CDialog::TemplateId;
    const std::string& Caption() const { return caption_; }
    // The sheet the page was added to, nullptr before.
    CPropertySheet* GetSheet() const { return sheet_; }

protected:
    // The page becomes the sheet's active one: FALSE skips it (the sheet
    // goes on in the same direction). Fills the controls again when the
    // page was shown before.
    virtual BOOL OnSetActive();
    // The page is about to be left (another page, OK, Finish): reads the
    // controls back; FALSE keeps the page.
    virtual BOOL OnKillActive();
    // Next and Back in a wizard: 0 for the following (or, for Back, the
    // page this one was reached from), -1 to stay, or the template id of
    // the page to go to.
    virtual LRESULT OnWizardNext() { return 0; }
    virtual LRESULT OnWizardBack() { return 0; }
    // Finish: FALSE keeps the wizard open.
    virtual BOOL OnWizardFinish() { return TRUE; }
    // OK or Apply of a sheet that is no wizard: FALSE keeps the sheet open.
    virtual BOOL OnApply() { return TRUE; }
    // Cancel: FALSE keeps the sheet open.
    virtual BOOL OnQueryCancel() { return TRUE; }
    // The sheet was cancelled: every page whose window was made (shown,
    // or skipped by its OnSetActive) hears it.
    void OnCancel() override {}
    // Enter in a page reaches the sheet's default button, never ends the page.
    void OnOK() override {}

    LRESULT OnNotify(NMHDR* header) override;

private:
    friend class CPropertySheet;
    static INT_PTR CALLBACK PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The answer to one of the sheet's PSN_ notifications.
    LRESULT OnSheetNotify(const NMHDR& header);

    std::string caption_;
    std::wstring wideCaption_;  // kept for the page record the sheet hands out
    CPropertySheet* sheet_ = nullptr;
    bool shownBefore_ = false;
};

}  // namespace vorlan
