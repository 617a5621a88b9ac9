#include "Dialog.h"

#include <utility>

#include "ModuleState.h"
#include "WinApp.h"

namespace vorlan {
namespace {

// The dialog a Create or DoModal on this thread is making, claimed by the
// first message its procedure sees (WM_SETFONT comes before WM_INITDIALOG).
thread_local CDialog* t_creatingDialog = nullptr;

// Messages whose answer a dialog procedure returns itself rather than
// through DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
        case WM_INITDIALOG:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
            return true;
        default:
            return false;
    }
}

}  // namespace

CDialog::CDialog(int templateId, HINSTANCE resources)
    : templateId_(templateId), resources_(resources ? resources : CurrentResourceModule()) {}

CDialog::~CDialog() {
    if (m_hWnd && !modal_) ::DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal(HWND owner) {
    if (m_hWnd) return -1;
    modal_ = true;
    endModal_ = false;
    modalResult_ = -1;
    t_creatingDialog = this;
    HWND dialog = CreateDialogParamA(resources_, MAKEINTRESOURCEA(templateId_), owner, DialogProc, 0);
    t_creatingDialog = nullptr;
    if (!dialog) {
        modal_ = false;
        return -1;
    }
    bool ownerDisabled = owner && IsWindowEnabled(owner) && !::EnableWindow(owner, FALSE);
    if (!endModal_) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        RunModalLoop();
    }
    if (ownerDisabled) ::EnableWindow(owner, TRUE);
    if (owner) SetActiveWindow(owner);
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    modal_ = false;
    return modalResult_;
}

INT_PTR CDialog::RunModalLoop() {
    MSG message;
    while (!endModal_) {
        BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // The program is ending: leave the quit for the outer loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!AfxPreTranslateMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return modalResult_;
}

bool CDialog::Create(HWND owner) {
    if (m_hWnd) return false;
    modal_ = false;
    t_creatingDialog = this;
    HWND dialog = CreateDialogParamA(resources_, MAKEINTRESOURCEA(templateId_), owner, DialogProc, 0);
    t_creatingDialog = nullptr;
    return dialog != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (!m_hWnd) return;
    if (modal_) {
        modalResult_ = result;
        endModal_ = true;
        // Wakes the modal loop when the call came from outside it.
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    } else {
        ::DestroyWindow(m_hWnd);
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return exchange.Failed() ? FALSE : TRUE;
}

bool CDialog::PreTranslateMessage(MSG* message) {
    if (!m_hWnd || (message->hwnd != m_hWnd && !IsChild(m_hWnd, message->hwnd))) return false;
    return IsDialogMessageA(m_hWnd, message) != FALSE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

bool CDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (CWnd::OnCommand(id, code, control)) return true;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hWnd, DWLP_USER));
    if (!self && t_creatingDialog) {
        self = std::exchange(t_creatingDialog, nullptr);
        if (!self->Attach(hWnd)) return FALSE;
        SetWindowLongPtrA(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return FALSE;

    LRESULT result = 0;
    bool handled;
    if (message == WM_INITDIALOG) {
        result = self->OnInitDialog();
        handled = true;
    } else {
        handled = self->OnWndMsg(message, wParam, lParam, &result);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        if (self->modal_) self->endModal_ = true;
        self->Detach();
        self->PostNcDestroy();
        return FALSE;
    }
    if (!handled) return FALSE;
    if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace vorlan
