#pragma once
// A dialog from a resource template, modal or modeless, whose messages reach
// virtual handlers of the derived class.
#include <windows.h>

#include "Wnd.h"

namespace vorlan {

class CDialog : public CWnd {
public:
    // The template is loaded from resources, by default the module that the
    // current thread's resources come from.
    explicit CDialog(int templateId, HINSTANCE resources = nullptr);
    ~CDialog() override;

    // Runs the dialog until EndDialog; -1 when it could not be created.
    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the dialog modeless; the owner's message loop serves it.
    bool Create(HWND owner = nullptr);
    // Ends a modal dialog with result, or destroys a modeless one.
    void EndDialog(INT_PTR result);

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // WM_COMMAND; by default IDOK and IDCANCEL call OnOK and OnCancel.
    virtual bool OnCommand(WORD id, WORD code, HWND control);
    virtual LRESULT OnNotify(NMHDR* header);
    virtual void OnSize(UINT kind, int width, int height);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Any other message; set handled to answer it.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HINSTANCE resources_;
    bool modal_ = false;
};

}  // namespace vorlan
