#pragma once
// Dialog data exchange: DDX_ functions move one value between a control of
// a dialog and a member, in the direction the exchange runs. A value that
// cannot be read back stops the exchange: the user is told, the control
// gets the focus, and the remaining DDX_ calls do nothing.
#include <windows.h>

#include <string>

namespace vorlan {

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    // The control of the dialog, remembered as the one a failure points at;
    // nullptr when the dialog has no such control (an exchange failure).
    HWND PrepareCtrl(int id);
    void Fail(const std::string& message);
    bool Failed() const { return failed_; }

    BOOL m_bSaveAndValidate;  // TRUE: controls to members
    CWnd* m_pDlgWnd;

private:
    HWND lastControl_ = nullptr;
    bool failed_ = false;
};

void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
// A number, shown with up to six significant digits ("1.5", "9999").
void DDX_Text(CDataExchange* dx, int id, double& value);
// Range checks after the DDX_Text of the same value: when reading back, a
// value outside min..max tells the user the range and stops the exchange
// at that control.
void DDV_MinMaxInt(CDataExchange* dx, int value, int min, int max);
void DDV_MinMaxFloat(CDataExchange* dx, double value, double min, double max);
// BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void DDX_Check(CDataExchange* dx, int id, int& value);
// The selected entry's index of a combo box or list box, -1 for none.
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
// A group of radio buttons that starts at control id (WS_GROUP) and runs
// to the next control with WS_GROUP: the index of the checked one, -1 for
// none.
void DDX_Radio(CDataExchange* dx, int id, int& index);
// Ties the control to an object of the framework once (by subclassing), so
// the object's members and message map work on it.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

// The integer a text holds (blanks around it allowed); false when it holds
// anything else or does not fit an int.
bool ParseInt(const std::string& text, int& value);
// The finite number a text holds (blanks around it allowed).
bool ParseDouble(const std::string& text, double& value);
// A number as DDX_Text shows it.
std::string FormatDouble(double value);

}  // namespace vorlan
