#pragma once
// A property sheet over the system's own (comctl32's PropertySheetW), as
// tabs or as a wizard, whose pages are CPropertyPage objects.
//
//   CNamePage name;
//   CPlacePage place;
//   CPropertySheet sheet(IDS_CAPTION);   // or a caption text
//   sheet.AddPage(&name);
//   sheet.AddPage(&place);
//   sheet.SetWizardMode();
//   if (sheet.DoModal() == ID_WIZFINISH) Store(name.name, place.path);
//
// Pages and the caption string come from the module whose resources the
// thread uses when the objects are made (ModuleState.h), so a DLL that
// entered its own module shows its own pages. The owner is the parent
// given, else the thread's active window (or none); it is disabled while
// the sheet runs.
//
// In a wizard, Back returns to the page the active one was reached from
// (the sheet keeps the way it came), unless the page's OnWizardBack names
// another; without such a way it goes to the page before in order.
// The pages set the buttons (SetWizardButtons) in their OnSetActive.
//
// While DoModal runs, m_hWnd is the sheet's window; the object is tied to
// it but leaves its messages to the system's sheet.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "PropertyPage.h"
#include "Wnd.h"

namespace vorlan {

// What DoModal of a wizard answers after Finish; the ids of the wizard's
// Back, Next and Finish buttons in the sheet.
inline constexpr int ID_WIZBACK = 0x3023;
inline constexpr int ID_WIZNEXT = 0x3024;
inline constexpr int ID_WIZFINISH = 0x3025;

class CPropertySheet : public CWnd {
public:
    explicit CPropertySheet(const std::string& caption, HWND parent = nullptr, UINT selectPage = 0);
    // The caption is the string captionId of the current resource module.
    explicit CPropertySheet(UINT captionId, HWND parent = nullptr, UINT selectPage = 0);

    // The pages in order; they must outlive the sheet's run.
    void AddPage(CPropertyPage* page);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    CPropertyPage* GetPage(int index) const;
    // -1 when the page is not one of the sheet's.
    int GetPageIndex(const CPropertyPage* page) const;
    // -1 when no page has that template id.
    int FindPageByTemplate(int templateId) const;

    void SetWizardMode() { wizard_ = true; }
    bool IsWizard() const { return wizard_; }
    // The sheet's caption; in a wizard also the title of each page that has
    // no caption of its own. Changed while running, it shows until the next
    // page is shown.
    void SetTitle(const std::string& caption);
    const std::string& GetTitle() const { return caption_; }

    // Runs the sheet: ID_WIZFINISH or IDCANCEL for a wizard, IDOK or
    // IDCANCEL for tabs; -1 when it could not be shown.
    INT_PTR DoModal();

    // The page shown first, or while running the page to show (the active
    // one may refuse to be left); false when that did not happen. In a
    // wizard, Back from there returns to the page the jump left.
    bool SetActivePage(int index);
    bool SetActivePage(CPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }
    // The active page while running; the first page to show before.
    int GetActiveIndex() const { return active_; }
    CPropertyPage* GetActivePage() const { return GetPage(active_); }

    // PSWIZB_BACK, PSWIZB_NEXT, PSWIZB_FINISH (or PSWIZB_DISABLEDFINISH).
    void SetWizardButtons(DWORD flags) const;

private:
    friend class CPropertyPage;
    // Bookkeeping of the pages' notifications.
    void PageShown(HWND page);
    void PageActivated(CPropertyPage* page);
    // A Next or Back answer of the active page translated for the system's
    // sheet: a template id, 0 or -1.
    LRESULT LeavingForward(LRESULT answer);
    LRESULT LeavingBack(LRESULT answer);
    void Finished() { ended_ = wizard_ ? ID_WIZFINISH : IDOK; }
    void Cancelled() { ended_ = IDCANCEL; }

    std::string caption_;
    HWND parent_;
    std::vector<CPropertyPage*> pages_;
    bool wizard_ = false;
    int active_;
    bool running_ = false;
    INT_PTR ended_ = IDCANCEL;
    // The pages the active one was reached from, oldest first, and the
    // move under way.
    std::vector<int> cameFrom_;
    enum class Move { None, Forward, Back } move_ = Move::None;
    int moveFrom_ = -1;
};

}  // namespace vorlan
