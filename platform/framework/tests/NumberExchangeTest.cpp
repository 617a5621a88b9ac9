// Data exchange of numbers with range checks, and the shell's completion of
// paths in an edit control.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "AutoComplete.h"
#include "Dialog.h"
#include "FrameworkTestIds.h"
#include "MessageBox.h"

namespace vorlan {
namespace {

constexpr UINT kDrive = WM_APP + 1;

// A number (0 to 9999) in the name field and an integer (-5 to 5) in the
// count field.
class NumbersDialog : public CDialog {
public:
    NumbersDialog() : CDialog(IDD_TEST) {}
    double number = 1.5;
    int count = 2;
    std::string numberText, countText;  // as first shown
    std::string number2, count2;        // as typed by the driver

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, IDC_NAME, number);
        DDV_MinMaxFloat(dx, number, 0, 9999);
        DDX_Text(dx, IDC_COUNT, count);
        DDV_MinMaxInt(dx, count, -5, 5);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        PostMessage(kDrive);
        return TRUE;
    }
    LRESULT OnDrive(WPARAM, LPARAM) {
        numberText = CWnd(GetDlgItem(IDC_NAME)).GetWindowText();
        countText = CWnd(GetDlgItem(IDC_COUNT)).GetWindowText();
        SetDlgItemTextA(m_hWnd, IDC_NAME, number2.c_str());
        SetDlgItemTextA(m_hWnd, IDC_COUNT, count2.c_str());
        SendMessage(WM_COMMAND, IDOK);
        PostMessage(WM_COMMAND, IDCANCEL);  // reached only when a value was refused
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(NumbersDialog, CDialog)
    ON_MESSAGE(kDrive, OnDrive)
END_MESSAGE_MAP()

TEST(NumberExchangeTest, NumbersAreReadBackWithinTheirRanges) {
    struct Case {
        const char *number, *count;
        INT_PTR ended;
        double wantNumber;
        int wantCount;
        const char* message;  // "" for none
    };
    const Case cases[] = {
        {"2.25", "-5", IDOK, 2.25, -5, ""},
        {" 9999 ", "5", IDOK, 9999, 5, ""},
        {"0", "0", IDOK, 0, 0, ""},
        {"1e3", "1", IDOK, 1000, 1, ""},
        {"10000", "1", IDCANCEL, 1.5, 2, "Please enter a number between 0 and 9999."},
        {"-0.5", "1", IDCANCEL, 1.5, 2, "Please enter a number between 0 and 9999."},
        {"1.2.3", "1", IDCANCEL, 1.5, 2, "Please enter a number."},
        {"", "1", IDCANCEL, 1.5, 2, "Please enter a number."},
        {"inf", "1", IDCANCEL, 1.5, 2, "Please enter a number."},
        {"7", "6", IDCANCEL, 7, 2, "Please enter an integer between -5 and 5."},
        {"7", "x", IDCANCEL, 7, 2, "Please enter an integer."},
    };
    for (const Case& c : cases) {
        std::vector<std::string> asked;
        ScopedMessageBoxAnswerer answerer([&](const MessageBoxRequest& request) {
            asked.push_back(request.text);
            return IDOK;
        });
        NumbersDialog dialog;
        dialog.number2 = c.number;
        dialog.count2 = c.count;
        EXPECT_EQ(dialog.DoModal(), c.ended) << c.number << " / " << c.count;
        EXPECT_EQ(dialog.numberText, "1.5");
        EXPECT_EQ(dialog.countText, "2");
        // A value out of range is read, then refused: the dialog stays and
        // the caller does not use it.
        if (c.ended == IDOK) {
            EXPECT_DOUBLE_EQ(dialog.number, c.wantNumber) << c.number;
            EXPECT_EQ(dialog.count, c.wantCount) << c.count;
        }
        const std::vector<std::string> want = *c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{};
        EXPECT_EQ(asked, want) << c.number << " / " << c.count;
    }
}

TEST(NumberExchangeTest, FormatAndParse) {
    const std::pair<double, const char*> shown[] = {{1.5, "1.5"}, {1, "1"}, {9999, "9999"}, {0.25, "0.25"}, {1.2, "1.2"}};
    for (const auto& [value, text] : shown) EXPECT_EQ(FormatDouble(value), text);
    double value = 0;
    EXPECT_TRUE(ParseDouble("\t3.5 ", value));
    EXPECT_DOUBLE_EQ(value, 3.5);
    for (const char* bad : {"", " ", "3,5", "nan", "1e999", "0x"}) EXPECT_FALSE(ParseDouble(bad, value)) << bad;
}

TEST(AutoCompleteTest, AnEditGetsTheShellsCompletion) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(SUCCEEDED(EnableShellAutoComplete(edit)));
    EXPECT_EQ(EnableShellAutoComplete(nullptr), E_INVALIDARG);
    DestroyWindow(edit);
    CoUninitialize();
}

}  // namespace
}  // namespace vorlan
