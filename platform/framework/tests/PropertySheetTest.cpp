#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "PropertySheet.h"
#include "SharedFile.h"
#include "TestSupport.h"
#include "WizardDriver.h"
#include "WizardTestIds.h"

namespace vorlan {
namespace {

using testing::ActiveSheetPage;
using testing::ActiveSheetPageIndex;
using testing::PressWizardButton;
using testing::ShownWizardButtons;

// The wizard library's run: the lines its pages recorded, what the driver
// saw, and DoModal's answer.
struct DrivenRun {
    INT_PTR result = 0;
    std::vector<std::string> lines;
    std::vector<std::string> seen;
};

struct Recorder {
    std::mutex lock;
    std::vector<std::string> lines;
    static void Record(void* context, const char* line) {
        auto* self = static_cast<Recorder*>(context);
        std::lock_guard<std::mutex> guard(self->lock);
        self->lines.push_back(line);
    }
};

using Drive = std::function<void(HWND sheet, std::vector<std::string>& seen)>;

// Runs the library's sheet (its export, on this thread, as a host calls a
// plug-in's dialog) while drive works it from another thread. A sheet the
// driver leaves open is cancelled, and said so.
DrivenRun RunDriven(const Drive& drive, int wizard = 1, int startPage = 0) {
    DrivenRun run;
    HMODULE library = LoadLibraryA(testing::WindowsPath(WIZARD_LIBRARY_PATH).c_str());
    EXPECT_NE(library, nullptr);
    if (!library) return run;
    auto runWizard = reinterpret_cast<RunWizardFn>(GetProcAddress(library, "RunWizard"));
    Recorder recorder;
    std::thread driver([&] {
        HWND sheet = testing::WaitForDialog("Framework Wizard");
        if (!sheet) {
            run.seen.push_back("no sheet");
            return;
        }
        drive(sheet, run.seen);
        for (int wait = 0; wait < 100 && IsWindow(sheet); ++wait) Sleep(20);
        if (IsWindow(sheet)) {
            run.seen.push_back("left open");
            PressWizardButton(sheet, PSBTN_CANCEL);
        }
    });
    WizardRun request = {&Recorder::Record, &recorder, wizard, startPage};
    run.result = runWizard(&request);
    driver.join();
    run.lines = recorder.lines;
    FreeLibrary(library);
    return run;
}

std::string Buttons(DWORD flags) {
    std::string text;
    if (flags & PSWIZB_BACK) text += "back ";
    if (flags & PSWIZB_NEXT) text += "next ";
    if (flags & PSWIZB_FINISH) text += "finish ";
    return text.empty() ? "none" : text.substr(0, text.size() - 1);
}

// "page <index>: <buttons>" of the sheet as a user sees it.
std::string Where(HWND sheet) {
    return "page " + std::to_string(ActiveSheetPageIndex(sheet)) + ": " + Buttons(ShownWizardButtons(sheet));
}

// Presses button, then notes where the sheet is.
void PressAndLook(HWND sheet, int button, std::vector<std::string>& seen) {
    PressWizardButton(sheet, button);
    seen.push_back(Where(sheet));
}

HWND Control(HWND sheet, int id) { return GetDlgItem(ActiveSheetPage(sheet), id); }
std::string ControlText(HWND sheet, int id) { return testing::WindowText(Control(sheet, id)); }
void SetControlText(HWND sheet, int id, const char* text) { SetWindowTextA(Control(sheet, id), text); }
std::string Checked(HWND sheet, int id) {
    return std::to_string(SendMessageA(Control(sheet, id), BM_GETCHECK, 0, 0));
}
void Check(HWND sheet, int id, int state) { SendMessageA(Control(sheet, id), BM_SETCHECK, state, 0); }

// The message boxes shown meanwhile (from the journal), "caption: text".
class BoxJournal {
public:
    BoxJournal() : path_(folder_ / "boxes"), journal_("VORLAN_MESSAGEBOX_JOURNAL", path_) {}
    std::vector<std::string> Boxes() const {
        std::vector<std::string> boxes;
        for (const auto& line : ReadJournal(path_))
            if (line.size() >= 3 && line[0] == "messagebox") boxes.push_back(line[1] + ": " + line[2]);
        return boxes;
    }

private:
    testing::TempFolder folder_;
    std::string path_;
    testing::ScopedEnvironment journal_;
};

TEST(PropertySheetTest, AWizardOfALibraryWalksItsPagesAndReadsTheirValuesBack) {
    // The calling thread's active window owns the sheet and waits under it.
    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    SetActiveWindow(owner);
    DrivenRun run = RunDriven([owner](HWND sheet, std::vector<std::string>& seen) {
        seen.push_back(std::string("owned ") + (GetWindow(sheet, GW_OWNER) == owner ? "by the active window" : "?") +
                       (IsWindowEnabled(owner) ? ", owner enabled" : ", owner disabled"));
        seen.push_back(Where(sheet));
        // The page shows its members (from the library's own template).
        char kind[32] = {};
        GetWindowTextA(Control(sheet, IDC_WIZARD_KIND), kind, sizeof kind);
        seen.push_back(ControlText(sheet, IDC_WIZARD_NAME) + " " + kind + " " + Checked(sheet, IDC_WIZARD_CHECK) +
                       " " + Checked(sheet, IDC_WIZARD_SLOW) + Checked(sheet, IDC_WIZARD_FAST));
        SetControlText(sheet, IDC_WIZARD_NAME, "second");
        SendMessageA(Control(sheet, IDC_WIZARD_KIND), CB_SETCURSEL, 2, 0);
        Check(sheet, IDC_WIZARD_CHECK, BST_UNCHECKED);
        Check(sheet, IDC_WIZARD_FAST, BST_UNCHECKED);
        Check(sheet, IDC_WIZARD_SLOW, BST_CHECKED);
        // The sheet's own message presses as a click does.
        SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_NEXT, 0);
        seen.push_back(Where(sheet));
        seen.push_back(ControlText(sheet, IDC_WIZARD_COUNT));
        SetControlText(sheet, IDC_WIZARD_COUNT, "007");
        PressAndLook(sheet, PSBTN_NEXT, seen);
        // Back shows what the page read, from its members again.
        PressWizardButton(sheet, PSBTN_BACK);
        seen.push_back(Where(sheet) + " count " + ControlText(sheet, IDC_WIZARD_COUNT));
        PressWizardButton(sheet, PSBTN_NEXT);
        seen.push_back(std::string("finish pressed ") + (PressWizardButton(sheet, PSBTN_FINISH) ? "yes" : "no"));
    });
    EXPECT_EQ(run.seen, (std::vector<std::string>{"owned by the active window, owner disabled", "page 0: next",
                                                  "first folder 1 01", "page 1: back next", "5", "page 2: back finish",
                                                  "page 1: back next count 7", "finish pressed yes"}));
    EXPECT_EQ(run.result, ID_WIZFINISH);
    EXPECT_EQ(run.lines, (std::vector<std::string>{
                             "setactive name", "next name", "killactive name", "setactive count", "next count",
                             "killactive count", "setactive last", "back last", "killactive last", "setactive count",
                             "next count", "killactive count", "setactive last", "finish last",
                             "values name=second kind=2 checked=0 speed=0 count=7 refuse=0"}));
    EXPECT_TRUE(IsWindowEnabled(owner)) << "the owner is enabled again";
    DestroyWindow(owner);
}

TEST(PropertySheetTest, APageThatRefusesToBeLeftKeepsTheWizardOnIt) {
    struct Case {
        const char* note;
        int page;  // the page refusing, reached with valid values
        std::function<void(HWND)> spoil;
        int button;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"Next refused by the page", 0, [](HWND s) { SetControlText(s, IDC_WIZARD_NAME, ""); }, PSBTN_NEXT,
         {"Framework Wizard: A name is needed."}},
        {"a value that is no integer", 1, [](HWND s) { SetControlText(s, IDC_WIZARD_COUNT, "many"); }, PSBTN_NEXT,
         {"Framework Wizard: Please enter an integer."}},
        {"a value out of range", 1, [](HWND s) { SetControlText(s, IDC_WIZARD_COUNT, "100"); }, PSBTN_NEXT,
         {"Framework Wizard: Please enter an integer between 0 and 99."}},
        {"a value out of range, going back", 1, [](HWND s) { SetControlText(s, IDC_WIZARD_COUNT, "-1"); },
         PSBTN_BACK, {"Framework Wizard: Please enter an integer between 0 and 99."}},
        {"Finish refused by the page", 2, [](HWND s) { Check(s, IDC_WIZARD_REFUSE, BST_CHECKED); }, PSBTN_FINISH, {}},
    };
    for (const Case& c : cases) {
        BoxJournal journal;
        DrivenRun run = RunDriven([&](HWND sheet, std::vector<std::string>& seen) {
            for (int page = 0; page < c.page; ++page) PressWizardButton(sheet, PSBTN_NEXT);
            c.spoil(sheet);
            const std::string before = Where(sheet);
            PressWizardButton(sheet, c.button);
            seen.push_back(Where(sheet) == before ? "stayed" : "left to " + Where(sheet));
            PressWizardButton(sheet, PSBTN_CANCEL);
        });
        EXPECT_EQ(run.seen, std::vector<std::string>{"stayed"}) << c.note;
        EXPECT_EQ(journal.Boxes(), c.boxes) << c.note;
        EXPECT_EQ(run.result, IDCANCEL) << c.note;
    }
}

TEST(PropertySheetTest, NextNamesAPageAndBackReturnsTheWayTheWizardCame) {
    DrivenRun run = RunDriven([](HWND sheet, std::vector<std::string>& seen) {
        SetControlText(sheet, IDC_WIZARD_NAME, "jump");
        PressAndLook(sheet, PSBTN_NEXT, seen);
        PressAndLook(sheet, PSBTN_BACK, seen);
        SetControlText(sheet, IDC_WIZARD_NAME, "walk");
        PressWizardButton(sheet, PSBTN_NEXT);
        PressAndLook(sheet, PSBTN_NEXT, seen);
        PressAndLook(sheet, PSBTN_BACK, seen);
        PressAndLook(sheet, PSBTN_BACK, seen);
        seen.push_back(std::string("back pressed ") + (PressWizardButton(sheet, PSBTN_BACK) ? "yes" : "no"));
        PressWizardButton(sheet, PSBTN_CANCEL);
    });
    EXPECT_EQ(run.seen, (std::vector<std::string>{"page 2: back finish", "page 0: next", "page 2: back finish",
                                                  "page 1: back next", "page 0: next", "back pressed no"}));
    EXPECT_EQ(run.result, IDCANCEL);
}

TEST(PropertySheetTest, APageThatSkipsItselfIsPassedOnBothWays) {
    DrivenRun run = RunDriven([](HWND sheet, std::vector<std::string>& seen) {
        SetControlText(sheet, IDC_WIZARD_NAME, "skip");
        PressAndLook(sheet, PSBTN_NEXT, seen);
        PressAndLook(sheet, PSBTN_BACK, seen);
        PressWizardButton(sheet, PSBTN_CANCEL);
    });
    EXPECT_EQ(run.seen, (std::vector<std::string>{"page 2: back finish", "page 0: next"}));
    EXPECT_EQ(run.lines, (std::vector<std::string>{"setactive name", "next name", "killactive name", "skipped count",
                                                   "setactive last", "back last", "killactive last", "setactive name",
                                                   "querycancel name", "cancel name", "cancel count",
                                                   "cancel last", "values name=skip kind=1 checked=1 speed=1 count=5 refuse=0"}));
}

// The kind combo box's change, as the combo box tells its page.
void ChooseKind(HWND sheet, int index) {
    HWND kind = Control(sheet, IDC_WIZARD_KIND);
    SendMessageA(kind, CB_SETCURSEL, index, 0);
    SendMessageA(ActiveSheetPage(sheet), WM_COMMAND, MAKEWPARAM(IDC_WIZARD_KIND, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(kind));
}

TEST(PropertySheetTest, APagesMessageMapHearsItsControls) {
    DrivenRun run = RunDriven([](HWND sheet, std::vector<std::string>& seen) {
        ChooseKind(sheet, 0);
        PressAndLook(sheet, PSBTN_NEXT, seen);
        SetControlText(sheet, IDC_WIZARD_COUNT, "");
        seen.push_back(Where(sheet));
        SetControlText(sheet, IDC_WIZARD_COUNT, "3");
        seen.push_back(Where(sheet));
        PressWizardButton(sheet, PSBTN_CANCEL);
    });
    EXPECT_EQ(run.seen, (std::vector<std::string>{"page 1: back next", "page 1: back", "page 1: back next"}));
    ASSERT_GE(run.lines.size(), 2u);
    EXPECT_EQ(run.lines[1], "kind 0 name");
}

TEST(PropertySheetTest, APageJumpsToAnotherAndBackReturnsToIt) {
    DrivenRun run = RunDriven([](HWND sheet, std::vector<std::string>& seen) {
        ChooseKind(sheet, 2);
        seen.push_back(Where(sheet));
        PressAndLook(sheet, PSBTN_BACK, seen);
        PressWizardButton(sheet, PSBTN_CANCEL);
    });
    EXPECT_EQ(run.seen, (std::vector<std::string>{"page 2: back finish", "page 0: next"}));
    ASSERT_GE(run.lines.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(run.lines.begin(), run.lines.begin() + 5),
              (std::vector<std::string>{"setactive name", "kind 2 name", "killactive name", "setactive last",
                                        "jumped to 2 name"}));
}

TEST(PropertySheetTest, AWizardStartedOnALaterPageGoesBackInOrder) {
    DrivenRun run = RunDriven(
        [](HWND sheet, std::vector<std::string>& seen) {
            seen.push_back(Where(sheet));
            PressWizardButton(sheet, PSBTN_BACK);
            seen.push_back(Where(sheet));
            PressWizardButton(sheet, PSBTN_CANCEL);
        },
        1, 1);
    EXPECT_EQ(run.seen, (std::vector<std::string>{"page 1: back next", "page 0: next"}));
}

TEST(PropertySheetTest, CancelAsksTheActivePageAndTellsEveryPageThatWasShown) {
    DrivenRun run = RunDriven([](HWND sheet, std::vector<std::string>&) {
        PressWizardButton(sheet, PSBTN_NEXT);
        SetControlText(sheet, IDC_WIZARD_COUNT, "8");
        PressWizardButton(sheet, PSBTN_CANCEL);
    });
    EXPECT_EQ(run.result, IDCANCEL);
    EXPECT_EQ(run.seen, std::vector<std::string>{});
    EXPECT_EQ(run.lines, (std::vector<std::string>{"setactive name", "next name", "killactive name",
                                                   "setactive count", "querycancel count", "cancel name",
                                                   "cancel count",
                                                   "values name=first kind=1 checked=1 speed=1 count=5 refuse=0"}))
        << "a cancelled page's controls are not read back";
}

TEST(PropertySheetTest, TabsEndWithOkAfterEveryShownPageIsValid) {
    DrivenRun run = RunDriven(
        [](HWND sheet, std::vector<std::string>& seen) {
            seen.push_back(testing::WindowText(sheet));
            SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
            SetControlText(sheet, IDC_WIZARD_COUNT, "x");
            PressWizardButton(sheet, PSBTN_OK);
            seen.push_back("page " + std::to_string(ActiveSheetPageIndex(sheet)) + (IsWindow(sheet) ? " open" : ""));
            SetControlText(sheet, IDC_WIZARD_COUNT, "12");
            PressWizardButton(sheet, PSBTN_OK);
        },
        0);
    EXPECT_EQ(run.seen, (std::vector<std::string>{"Framework Wizard", "page 1 open"}));
    EXPECT_EQ(run.result, IDOK);
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines.back(), "values name=first kind=1 checked=1 speed=1 count=12 refuse=0");
}

}  // namespace
}  // namespace vorlan
