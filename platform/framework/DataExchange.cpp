#include "DataExchange.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "MessageBox.h"
#include "Wnd.h"

namespace vorlan {

HWND CDataExchange::PrepareCtrl(int id) {
    if (failed_) return nullptr;
    HWND control = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
    if (!control) {
        Fail("Control " + std::to_string(id) + " is missing from the dialog.");
        return nullptr;
    }
    lastControl_ = control;
    return control;
}

void CDataExchange::Fail(const std::string& message) {
    if (failed_) return;
    failed_ = true;
    HWND owner = m_pDlgWnd ? m_pDlgWnd->m_hWnd : nullptr;
    // Captioned as the window the user sees: a sheet's page by the sheet.
    HWND shown = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    ShowMessageBox(owner, message, shown ? CWnd(shown).GetWindowText() : std::string(), MB_OK | MB_ICONEXCLAMATION);
    if (lastControl_ && owner) {
        SetFocus(lastControl_);
        SendMessageA(lastControl_, EM_SETSEL, 0, -1);
    }
}

bool ParseInt(const std::string& text, int& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(begin, &end, 10);
    if (end == begin || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0') return false;
    value = static_cast<int>(parsed);
    return true;
}

bool ParseDouble(const std::string& text, double& value) {
    const char* begin = text.c_str();
    while (*begin == ' ' || *begin == '\t') ++begin;
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(parsed)) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0') return false;
    value = parsed;
    return true;
}

std::string FormatDouble(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    HWND control = dx->PrepareCtrl(id);
    if (!control) return;
    if (dx->m_bSaveAndValidate) value = CWnd(control).GetWindowText();
    else SetWindowTextA(control, value.c_str());
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    HWND control = dx->PrepareCtrl(id);
    if (!control) return;
    if (!dx->m_bSaveAndValidate) {
        SetWindowTextA(control, std::to_string(value).c_str());
        return;
    }
    int read = 0;
    if (!ParseInt(CWnd(control).GetWindowText(), read)) {
        dx->Fail("Please enter an integer.");
        return;
    }
    value = read;
}

void DDX_Text(CDataExchange* dx, int id, double& value) {
    HWND control = dx->PrepareCtrl(id);
    if (!control) return;
    if (!dx->m_bSaveAndValidate) {
        SetWindowTextA(control, FormatDouble(value).c_str());
        return;
    }
    double read = 0;
    if (!ParseDouble(CWnd(control).GetWindowText(), read)) {
        dx->Fail("Please enter a number.");
        return;
    }
    value = read;
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int min, int max) {
    if (!dx->m_bSaveAndValidate || dx->Failed() || (value >= min && value <= max)) return;
    dx->Fail("Please enter an integer between " + std::to_string(min) + " and " + std::to_string(max) + ".");
}

void DDV_MinMaxFloat(CDataExchange* dx, double value, double min, double max) {
    if (!dx->m_bSaveAndValidate || dx->Failed() || (value >= min && value <= max)) return;
    dx->Fail("Please enter a number between " + FormatDouble(min) + " and " + FormatDouble(max) + ".");
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND control = dx->PrepareCtrl(id);
    if (!control) return;
    if (dx->m_bSaveAndValidate) value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
    else SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
    HWND control = dx->PrepareCtrl(id);
    if (!control) return;
    if (dx->m_bSaveAndValidate) index = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
    else SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& index) {
    HWND first = dx->PrepareCtrl(id);
    if (!first) return;
    if (dx->m_bSaveAndValidate) index = -1;
    int position = 0;
    for (HWND button = first; button; button = GetWindow(button, GW_HWNDNEXT), ++position) {
        if (button != first && (GetWindowLongA(button, GWL_STYLE) & WS_GROUP)) break;
        const LRESULT kind = SendMessageA(button, WM_GETDLGCODE, 0, 0);
        if (!(kind & DLGC_RADIOBUTTON)) continue;
        if (dx->m_bSaveAndValidate) {
            if (SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) index = position;
        } else {
            SendMessageA(button, BM_SETCHECK, position == index ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd) return;
    HWND window = dx->PrepareCtrl(id);
    if (window && !control.SubclassWindow(window)) dx->Fail("Control " + std::to_string(id) + " cannot be tied.");
}

}  // namespace vorlan
