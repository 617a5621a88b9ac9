#include "PropertyPage.h"

#include "PropertySheet.h"

namespace vorlan {

CPropertyPage::CPropertyPage(int templateId, const std::string& caption, HINSTANCE resources)
    : CDialog(templateId, resources), caption_(caption) {}

BOOL CPropertyPage::OnSetActive() {
    // The first time OnInitDialog has just filled the controls.
    if (shownBefore_) UpdateData(FALSE);
    shownBefore_ = true;
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

LRESULT CPropertyPage::OnNotify(NMHDR* header) {
    if (header && m_hWnd && header->hwndFrom == ::GetParent(m_hWnd) && sheet_) return OnSheetNotify(*header);
    return CDialog::OnNotify(header);
}

LRESULT CPropertyPage::OnSheetNotify(const NMHDR& header) {
    switch (header.code) {
        case PSN_SETACTIVE:
            if (!OnSetActive()) return -1;
            sheet_->PageActivated(this);
            return 0;
        case PSN_KILLACTIVE:
            return OnKillActive() ? FALSE : TRUE;
        case PSN_WIZNEXT:
            if (!UpdateData(TRUE)) return -1;
            return sheet_->LeavingForward(OnWizardNext());
        case PSN_WIZBACK:
            return sheet_->LeavingBack(OnWizardBack());
        case PSN_WIZFINISH:
            if (!UpdateData(TRUE) || !OnWizardFinish()) return TRUE;
            sheet_->Finished();
            return FALSE;
        case PSN_APPLY:
            if (!OnApply()) return PSNRET_INVALID_NOCHANGEPAGE;
            sheet_->Finished();
            return PSNRET_NOERROR;
        case PSN_QUERYCANCEL:
            return OnQueryCancel() ? FALSE : TRUE;
        case PSN_RESET:
            sheet_->Cancelled();
            OnCancel();
            return 0;
        default:
            return 0;
    }
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // The sheet hands the page record (and with it the object) to
    // WM_INITDIALOG; what comes before it (WM_SETFONT) needs no object.
    if (message == WM_INITDIALOG && !GetWindowLongPtrA(hWnd, DWLP_USER)) {
        auto* page = reinterpret_cast<CPropertyPage*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        if (!page || !page->Attach(hWnd)) return FALSE;
        SetWindowLongPtrA(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->shownBefore_ = false;
        if (page->sheet_) page->sheet_->PageShown(hWnd);
    }
    return DialogProc(hWnd, message, wParam, lParam);
}

}  // namespace vorlan
