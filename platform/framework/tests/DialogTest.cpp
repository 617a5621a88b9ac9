#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "Controls.h"
#include "Dialog.h"
#include "FrameworkTestIds.h"
#include "MessageBox.h"
#include "TestSupport.h"

namespace vorlan {
namespace {

constexpr UINT kDrive = WM_APP + 1;

// The test's dialog: three values exchanged with its controls, a list tied
// to its object, and a driver that runs inside the dialog's own loop.
class ValuesDialog : public CDialog {
public:
    ValuesDialog() : CDialog(IDD_TEST) {}

    std::string name = "first";
    int count = 3;
    int enabled = BST_CHECKED;
    int kind = 1;
    int speed = 2;
    CListCtrl list;
    CComboBox kinds;
    std::function<void(ValuesDialog&)> drive;
    std::vector<std::string> seen;  // PreTranslateMessage calls, innermost first

    bool PreTranslateMessage(MSG* message) override {
        if (message->message == WM_KEYDOWN && message->wParam == VK_F2) seen.push_back("dialog");
        return CDialog::PreTranslateMessage(message);
    }

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, IDC_NAME, name);
        DDX_Text(dx, IDC_COUNT, count);
        DDX_Check(dx, IDC_ENABLED, enabled);
        DDX_Control(dx, IDC_LIST, list);
        DDX_Control(dx, IDC_KIND, kinds);
        if (!dx->m_bSaveAndValidate && kinds.GetCount() == 0) {
            for (const char* text : {"string", "number", "bytes"}) kinds.AddString(text);
        }
        DDX_CBIndex(dx, IDC_KIND, kind);
        DDX_Radio(dx, IDC_SPEED_SLOW, speed);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        PostMessage(kDrive);
        return TRUE;
    }
    LRESULT OnDrive(WPARAM, LPARAM) {
        if (drive) drive(*this);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ValuesDialog, CDialog)
    ON_MESSAGE(kDrive, OnDrive)
END_MESSAGE_MAP()

// An edit control whose object sees keys before its dialog does.
class WatchedEdit : public CWnd {
public:
    explicit WatchedEdit(std::vector<std::string>& seen) : seen_(seen) {}
    bool PreTranslateMessage(MSG* message) override {
        if (message->message == WM_KEYDOWN && message->wParam == VK_F2) seen_.push_back("edit");
        return false;
    }

private:
    std::vector<std::string>& seen_;
};

std::string Text(const CWnd& dialog, int id) { return testing::WindowText(dialog.GetDlgItem(id)); }

TEST(DialogTest, ModalDialogFillsItsControlsAndReadsThemBackOnOk) {
    ValuesDialog dialog;
    std::vector<std::string> shown;
    dialog.drive = [&](ValuesDialog& d) {
        const auto checked = [&](int id) { return std::to_string(SendMessageA(d.GetDlgItem(id), BM_GETCHECK, 0, 0)); };
        shown = {Text(d, IDC_NAME), Text(d, IDC_COUNT), checked(IDC_ENABLED), d.kinds.GetLBText(d.kinds.GetCurSel()),
                 checked(IDC_SPEED_SLOW) + checked(IDC_SPEED_FAST) + checked(IDC_SPEED_NONE)};
        EXPECT_EQ(d.kinds.FindStringExact(-1, "BYTES"), 2);
        EXPECT_EQ(d.kinds.GetLBText(7), "") << "no such entry";
        d.kinds.SetCurSel(2);
        SendMessageA(d.GetDlgItem(IDC_SPEED_NONE), BM_SETCHECK, BST_UNCHECKED, 0);
        SendMessageA(d.GetDlgItem(IDC_SPEED_SLOW), BM_SETCHECK, BST_CHECKED, 0);
        EXPECT_EQ(CWnd::FromHandlePermanent(d.GetDlgItem(IDC_LIST)), &d.list) << "the list is tied to its object";
        EXPECT_EQ(d.list.InsertColumn(0, "Column", LVCFMT_LEFT, 60), 0);
        SetDlgItemTextA(d.m_hWnd, IDC_NAME, "second");
        SetDlgItemTextA(d.m_hWnd, IDC_COUNT, " -12 ");
        SendMessageA(d.GetDlgItem(IDC_ENABLED), BM_SETCHECK, BST_UNCHECKED, 0);
        d.PostMessage(WM_COMMAND, IDOK);
    };
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shown, (std::vector<std::string>{"first", "3", "1", "number", "001"}));
    EXPECT_EQ(dialog.kind, 2);
    EXPECT_EQ(dialog.speed, 0) << "the radio group ends before the next WS_GROUP control";
    EXPECT_EQ(dialog.name, "second");
    EXPECT_EQ(dialog.count, -12);
    EXPECT_EQ(dialog.enabled, BST_UNCHECKED);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.list.m_hWnd, nullptr) << "the control went with its dialog";
}

TEST(DialogTest, AValueThatIsNotValidKeepsTheDialogOpenAndTheMembersAsTheyWere) {
    const char* texts[] = {"", "12x", "99999999999", "1.5"};
    for (const char* text : texts) {
        std::vector<std::string> asked;
        ScopedMessageBoxAnswerer answerer([&](const MessageBoxRequest& request) {
            asked.push_back(request.caption + ": " + request.text);
            return IDOK;
        });
        ValuesDialog dialog;
        bool stillOpen = false;
        dialog.drive = [&](ValuesDialog& d) {
            SetDlgItemTextA(d.m_hWnd, IDC_NAME, "changed");
            SetDlgItemTextA(d.m_hWnd, IDC_COUNT, text);
            SendMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
            stillOpen = IsWindowVisible(d.m_hWnd) && GetFocus() == d.GetDlgItem(IDC_COUNT);
            d.PostMessage(WM_COMMAND, IDCANCEL);
        };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL) << text;
        EXPECT_TRUE(stillOpen) << text;
        EXPECT_EQ(asked, std::vector<std::string>{"From the program: Please enter an integer."}) << text;
        EXPECT_EQ(dialog.count, 3) << text;
        // Values before the failing one were read; none after it.
        EXPECT_EQ(dialog.name, "changed") << text;
        EXPECT_EQ(dialog.enabled, BST_CHECKED) << text;
    }
}

TEST(DialogTest, KeysAreOfferedToTheTargetAndThenToEachParent) {
    ValuesDialog dialog;
    WatchedEdit edit(dialog.seen);
    dialog.drive = [&](ValuesDialog& d) {
        ASSERT_TRUE(edit.SubclassDlgItem(IDC_NAME, &d));
        PostMessageA(edit.m_hWnd, WM_KEYDOWN, VK_F2, 0);
        // Escape through the dialog manager: the cancel button.
        PostMessageA(edit.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.seen, (std::vector<std::string>{"edit", "dialog"}));
}

TEST(DialogTest, ModalOwnerIsDisabledMeanwhileAndAMissingTemplateFails) {
    ValuesDialog owner;
    ASSERT_TRUE(owner.Create());
    ValuesDialog dialog;
    bool ownerEnabled = true;
    dialog.drive = [&](ValuesDialog& d) {
        ownerEnabled = IsWindowEnabled(owner.m_hWnd);
        d.EndDialog(7);
    };
    EXPECT_EQ(dialog.DoModal(owner.m_hWnd), 7);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));

    CDialog missing(4242);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_FALSE(missing.Create());
}

}  // namespace
}  // namespace vorlan
