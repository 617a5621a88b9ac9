#pragma once
// A dialog from a resource template, modal or modeless, whose messages reach
// its message map and the virtual handlers of the derived class.
//
// The template comes from the module whose resources the creating thread
// uses (ModuleState.h), so a DLL that entered its own module shows its own
// dialogs. A modal dialog runs the framework's own loop, which offers every
// message to PreTranslateMessage of the target and its parents.
//
// Data exchange: DoDataExchange lists DDX_ calls that move values between
// controls and members; UpdateData(FALSE) fills the controls (OnInitDialog
// does), UpdateData(TRUE) reads them back (OnOK does, and stays open when a
// value is not valid).
#include <windows.h>

#include <string>

#include "DataExchange.h"
#include "Wnd.h"

namespace vorlan {

class CDialog : public CWnd {
public:
    // The template is loaded from resources, by default the module that the
    // current thread's resources come from.
    explicit CDialog(int templateId, HINSTANCE resources = nullptr);
    ~CDialog() override;

    // Runs the dialog until EndDialog; -1 when it could not be created.
    // The owner is disabled meanwhile.
    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the dialog modeless; the owner's message loop serves it.
    bool Create(HWND owner = nullptr);
    // Ends a modal dialog with result, or destroys a modeless one.
    void EndDialog(INT_PTR result);

    // Moves data between the controls and the members (DoDataExchange);
    // false when a value read back is not valid (the user was told).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // IsDialogMessage: keyboard navigation, default and cancel buttons.
    bool PreTranslateMessage(MSG* message) override;

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    // Fills the controls; TRUE lets the system set the focus.
    virtual BOOL OnInitDialog();
    // WM_COMMAND: the map first; then IDOK and IDCANCEL call OnOK and OnCancel.
    bool OnCommand(WORD id, WORD code, HWND control) override;
    // Reads the controls back and ends with IDOK when they are valid.
    virtual void OnOK();
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    // The dialog's resources module and template.
    HINSTANCE ResourceModule() const { return resources_; }
    int TemplateId() const { return templateId_; }

    // Routes a dialog's messages to the object DWLP_USER names, claiming
    // the dialog a Create or DoModal of this thread is making.
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    INT_PTR RunModalLoop();

    int templateId_;
    HINSTANCE resources_;
    bool modal_ = false;
    bool endModal_ = false;
    INT_PTR modalResult_ = -1;
};

}  // namespace vorlan
