#include "PropertySheet.h"

#include <algorithm>

#include "Bstr.h"
#include "Resources.h"

namespace vorlan {

using com::WideFromAnsi;

CPropertySheet::CPropertySheet(const std::string& caption, HWND parent, UINT selectPage)
    : caption_(caption), parent_(parent), active_(static_cast<int>(selectPage)) {}

CPropertySheet::CPropertySheet(UINT captionId, HWND parent, UINT selectPage)
    : CPropertySheet(LoadResourceString(captionId), parent, selectPage) {}

void CPropertySheet::AddPage(CPropertyPage* page) {
    if (!page || running_ || GetPageIndex(page) >= 0) return;
    page->sheet_ = this;
    pages_.push_back(page);
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? pages_[static_cast<size_t>(index)] : nullptr;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

int CPropertySheet::FindPageByTemplate(int templateId) const {
    for (int i = 0; i < GetPageCount(); ++i)
        if (pages_[static_cast<size_t>(i)]->TemplateId() == templateId) return i;
    return -1;
}

void CPropertySheet::SetTitle(const std::string& caption) {
    caption_ = caption;
    if (m_hWnd) ::SetWindowTextW(m_hWnd, WideFromAnsi(caption).c_str());
}

INT_PTR CPropertySheet::DoModal() {
    if (running_ || pages_.empty()) return -1;
    std::vector<HPROPSHEETPAGE> handles;
    for (CPropertyPage* page : pages_) {
        // A wizard's title bar shows the active page's title: the sheet's
        // caption, unless the page has one of its own.
        page->wideCaption_ = WideFromAnsi(!page->Caption().empty() || !wizard_ ? page->Caption() : caption_);
        PROPSHEETPAGEW record = {};
        record.dwSize = sizeof record;
        record.dwFlags = page->wideCaption_.empty() ? PSP_DEFAULT : PSP_USETITLE;
        record.hInstance = page->ResourceModule();
        record.pszTemplate = MAKEINTRESOURCEW(page->TemplateId());
        record.pszTitle = page->wideCaption_.c_str();
        record.pfnDlgProc = &CPropertyPage::PageProc;
        record.lParam = reinterpret_cast<LPARAM>(page);
        HPROPSHEETPAGE handle = CreatePropertySheetPageW(&record);
        if (!handle) {
            for (HPROPSHEETPAGE made : handles) DestroyPropertySheetPage(made);
            return -1;
        }
        handles.push_back(handle);
    }

    const std::wstring caption = WideFromAnsi(caption_);
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_NOAPPLYNOW | (wizard_ ? PSH_WIZARD : 0);
    header.hwndParent = parent_ ? parent_ : GetActiveWindow();
    header.hInstance = pages_.front()->ResourceModule();
    header.pszCaption = caption.c_str();
    header.nPages = static_cast<UINT>(handles.size());
    header.nStartPage = static_cast<UINT>(std::clamp(active_, 0, GetPageCount() - 1));
    header.phpage = handles.data();

    active_ = static_cast<int>(header.nStartPage);
    cameFrom_.clear();
    move_ = Move::None;
    ended_ = IDCANCEL;
    running_ = true;
    // The system's sheet owns the page records from here, shown or not.
    const INT_PTR shown = PropertySheetW(&header);
    running_ = false;
    if (m_hWnd) Detach();
    return shown < 0 ? -1 : ended_;
}

bool CPropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= GetPageCount()) return false;
    if (!running_) {
        active_ = index;
        return true;
    }
    if (!m_hWnd) return false;
    move_ = Move::Forward;
    moveFrom_ = active_;
    return ::SendMessageW(m_hWnd, PSM_SETCURSEL, static_cast<WPARAM>(index), 0) && active_ == index;
}

void CPropertySheet::SetWizardButtons(DWORD flags) const {
    if (m_hWnd) ::SendMessageW(m_hWnd, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(flags));
}

void CPropertySheet::PageShown(HWND page) {
    // The first page's window is made before the sheet tells anyone its own.
    if (!m_hWnd) Attach(::GetParent(page));
}

void CPropertySheet::PageActivated(CPropertyPage* page) {
    const int index = GetPageIndex(page);
    // Back on a page of the way, by any move: the way ends before it.
    // Else a move forward (or a jump) adds the page it left.
    auto onTheWay = std::find(cameFrom_.begin(), cameFrom_.end(), index);
    if (onTheWay != cameFrom_.end()) cameFrom_.erase(onTheWay, cameFrom_.end());
    else if (move_ == Move::Forward && moveFrom_ != index) cameFrom_.push_back(moveFrom_);
    move_ = Move::None;
    active_ = index;
}

LRESULT CPropertySheet::LeavingForward(LRESULT answer) {
    if (answer == -1) return -1;
    if (answer != 0 && FindPageByTemplate(static_cast<int>(answer)) < 0) return -1;
    move_ = Move::Forward;
    moveFrom_ = active_;
    return answer;
}

LRESULT CPropertySheet::LeavingBack(LRESULT answer) {
    if (answer == -1) return -1;
    if (answer == 0 && !cameFrom_.empty()) answer = pages_[static_cast<size_t>(cameFrom_.back())]->TemplateId();
    if (answer != 0 && FindPageByTemplate(static_cast<int>(answer)) < 0) return -1;
    move_ = Move::Back;
    return answer;
}

}  // namespace vorlan
