#include "Dialog.h"

#include "ModuleState.h"

namespace vorlan {

CDialog::CDialog(int templateId, HINSTANCE resources)
    : templateId_(templateId), resources_(resources ? resources : CurrentResourceModule()) {}

CDialog::~CDialog() {
    if (m_hWnd && !modal_) ::DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal(HWND owner) {
    modal_ = true;
    INT_PTR result = DialogBoxParamA(resources_, MAKEINTRESOURCEA(templateId_), owner, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

bool CDialog::Create(HWND owner) {
    modal_ = false;
    return CreateDialogParamA(resources_, MAKEINTRESOURCEA(templateId_), owner, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (!m_hWnd) return;
    if (modal_) {
        ::EndDialog(m_hWnd, result);
    } else {
        ::DestroyWindow(m_hWnd);
    }
}

bool CDialog::OnCommand(WORD id, WORD, HWND) {
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

LRESULT CDialog::OnNotify(NMHDR*) { return 0; }

void CDialog::OnSize(UINT, int, int) {}

INT_PTR CDialog::OnMessage(UINT, WPARAM, LPARAM, bool&) { return 0; }

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hWnd, DWLP_USER));
    }
    if (!self) return FALSE;
    INT_PTR result = self->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        case WM_NOTIFY:
            SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, OnNotify(reinterpret_cast<NMHDR*>(lParam)));
            return TRUE;
        case WM_SIZE:
            OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
            return TRUE;
        default: {
            bool handled = false;
            INT_PTR result = OnMessage(message, wParam, lParam, handled);
            return handled ? result : FALSE;
        }
    }
}

}  // namespace vorlan
