// The program item's dialog through IVorlanProperties::ConfigNodeDlg,
// driven by messages from a thread of the test while its modal loop runs,
// with the device browse against the emulated device; pictures on a
// virtual screen.
#include <gtest/gtest.h>

#include "Bstr.h"
#include "BrowseDriver.h"
#include "ComPtr.h"
#include "DevicePluginSuite.h"
#include "ProcessSync.h"
#include "Resource.h"
#include "SharedFile.h"
#include "WindowCapture.h"
#include "pindrel.h"
#include "vorlan.h"

namespace vorlan::processsync::testing {
namespace {

using com::Bstr;
using com::ComPtr;
using namespace vorlan::testing;

constexpr char kCaption[] = "Process Management";

struct Shown {
    std::string action, label, help;
    bool browse = false;
    bool operator==(const Shown&) const = default;
};

Shown Read(HWND dialog) {
    return {ItemText(dialog, IDC_OPERATION), ItemText(dialog, IDC_IDENTIFIER_LABEL), ItemText(dialog, IDC_HELP_TEXT),
            IsWindowEnabled(GetDlgItem(dialog, IDC_BROWSE)) != 0};
}

// Picks an entry of the list as a user does: the list tells its parent.
void Choose(HWND dialog, int index) {
    HWND list = GetDlgItem(dialog, IDC_OPERATION);
    SendMessageA(list, CB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPERATION, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

class ProgramDialogTest : public DevicePluginSuite {
protected:
    void SetUp() override {
        DevicePluginSuite::SetUp();
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", "default");
        SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", boxes_.c_str());
        CLSID clsid = {};
        ASSERT_EQ(CLSIDFromProgID(L"Wendric.VorlanProperties", &clsid), S_OK);
        ASSERT_EQ(com::CreateInstance(clsid, properties_), S_OK);
    }
    void TearDown() override { SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", nullptr); }

    static ComPtr<IInfoNode> Node(const char* flag, const char* identifier) {
        ComPtr<IInfoNode> node;
        EXPECT_EQ(com::CreateInstance(CLSID_InfoNode, node), S_OK);
        node->SetAt(Bstr::FromAnsi("Flag").Get(), Bstr::FromAnsi(flag).Get());
        node->SetAt(Bstr::FromAnsi("ProcessIdentifier").Get(), Bstr::FromAnsi(identifier).Get());
        return node;
    }
    static std::string Field(IInfoNode* node, const char* name) {
        Bstr value;
        node->GetProperty(Bstr::FromAnsi(name).Get(), value.Put());
        return value.Ansi();
    }
    HRESULT Run(ComPtr<IInfoNode>& node, std::function<void(HWND)> steps) {
        BrowseDriver driver(kCaption, std::move(steps));
        IInfoNode* raw = node.Get();
        const HRESULT hr = properties_->ConfigNodeDlg(&raw, VARIANT_FALSE);
        EXPECT_TRUE(driver.SawDialog()) << "the dialog never showed";
        return hr;
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const auto& line : ReadJournal(boxes_))
            if (line.size() > 2) texts.push_back(line[1] + ": " + line[2]);
        return texts;
    }

    TempFolder folder_;
    std::string boxes_ = folder_ / "boxes.txt";
    ComPtr<IVorlanProperties> properties_;
};

TEST_F(ProgramDialogTest, EachActionShowsItsHelpAndLabel) {
    auto node = Node("", "\\Windows\\sleeper.exe");
    Shown opened;
    std::vector<Shown> seen;
    std::vector<std::string> entries;
    std::string picture;
    const HRESULT hr = Run(node, [&](HWND dialog) {
        opened = Read(dialog);
        picture = SaveScreenshot(dialog, "wendric-item-dialog");
        HWND list = GetDlgItem(dialog, IDC_OPERATION);
        for (int i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
            char text[64] = {};
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
            Choose(dialog, i);
            seen.push_back(Read(dialog));
        }
        SetDlgItemTextA(dialog, IDC_IDENTIFIER, "changed");
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(hr, 1223);
    EXPECT_EQ(Field(node.Get(), "Flag"), "");
    EXPECT_EQ(Field(node.Get(), "ProcessIdentifier"), "\\Windows\\sleeper.exe");
    EXPECT_EQ(opened, (Shown{"QV_CREATE_PROCESS", "Remote file path:",
                             "Creates a process in the CE device and continues execution.", true}));
    EXPECT_EQ(entries, (std::vector<std::string>{"QV_LOCAL_SHELL_EXEC", "QV_WM_CLOSE_PROCESS",
                                                 "QV_CREATE_WAIT_PROCESS", "QV_CREATE_PROCESS"}));
    const std::vector<Shown> want = {
        {"QV_LOCAL_SHELL_EXEC", "Local file path:",
         "Runs a command in the desktop (not the CE device) exactly the same way it would run if you type it from "
         "the windows start -> run menu",
         true},
        {"QV_WM_CLOSE_PROCESS", "Window title:",
         "Sends a WM_CLOSE message to the process identified by a window title.", false},
        {"QV_CREATE_WAIT_PROCESS", "Remote file path:", "Creates a process in the CE device.", true},
        {"QV_CREATE_PROCESS", "Remote file path:", "Creates a process in the CE device and continues execution.", true},
    };
    EXPECT_EQ(seen, want);
    EXPECT_EQ(picture.find("failed"), std::string::npos) << picture;
}

TEST_F(ProgramDialogTest, AStoredFlagOpensAsTheActionTheEngineTakes) {
    const struct {
        const char* flag;
        const char* shown;
    } cases[] = {
        {"qv_wm_close_process", "QV_WM_CLOSE_PROCESS"},
        {"XYZ", "QV_LOCAL_SHELL_EXEC"},
        {"QV_CREATE_WAIT_PROCESS", "QV_CREATE_WAIT_PROCESS"},
        {"junk QV_CREATE_PROCESS", "QV_CREATE_PROCESS"},
    };
    for (const auto& c : cases) {
        auto node = Node(c.flag, "Notes");
        std::string shown;
        EXPECT_EQ(Run(node, [&](HWND dialog) {
                      shown = ItemText(dialog, IDC_OPERATION);
                      Click(dialog, IDOK);
                  }),
                  S_OK);
        EXPECT_EQ(shown, c.shown) << c.flag;
        EXPECT_EQ(Field(node.Get(), "Flag"), c.shown) << c.flag;
        EXPECT_EQ(Field(node.Get(), "ProcessIdentifier"), "Notes");
    }
}

TEST_F(ProgramDialogTest, TheDeviceBrowseFillsAnItemThatThenStarts) {
    auto node = Node("QV_CREATE_PROCESS", "");
    std::string filled;
    bool browsed = false;
    const HRESULT hr = Run(node, [&](HWND dialog) {
        PostClick(dialog, IDC_BROWSE);
        HWND browse = WaitForDialog("Browse...");
        ASSERT_NE(browse, nullptr);
        browsed = true;
        HWND list = GetDlgItem(browse, 1001);
        for (const char* name : {"Windows", "sleeper.exe"}) {
            ASSERT_TRUE(WaitUntil([&] { return FindRow(list, name) >= 0; })) << name;
            const int row = FindRow(list, name);
            SelectRow(list, row);
            DoubleClickRow(list, row);
        }
        WaitUntil([&] { return !ItemText(dialog, IDC_IDENTIFIER).empty(); });
        filled = ItemText(dialog, IDC_IDENTIFIER);
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(browsed);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(filled, "%CE_WINDIR%\\sleeper.exe");
    EXPECT_EQ(Field(node.Get(), "ProcessIdentifier"), "%CE_WINDIR%\\sleeper.exe");

    CProcessSync engine;
    UseSuiteSource(engine);
    ASSERT_EQ(engine.Init(), S_OK);
    EXPECT_EQ(engine.PerformTransfer(node.Get()), S_OK);
    EXPECT_EQ(device->Journal("process").back().Get("application"), "\\Windows\\sleeper.exe");
}

TEST_F(ProgramDialogTest, AnEmptyIdentifierIsRefusedAndTheDialogStaysOpen) {
    auto node = Node("QV_WM_CLOSE_PROCESS", "Notes");
    bool openAfterOk = false;
    std::vector<std::string> boxesAfterOk;
    std::string picture;
    const HRESULT hr = Run(node, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_IDENTIFIER, "");
        Click(dialog, IDOK);
        openAfterOk = IsWindow(dialog) && IsWindowVisible(dialog);
        boxesAfterOk = Boxes();
        picture = SaveScreenshot(dialog, "wendric-item-dialog-empty");
        SetDlgItemTextA(dialog, IDC_IDENTIFIER, "Inbox");
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(boxesAfterOk, (std::vector<std::string>{"Wendric: Fields cannot be empty."}));
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(Field(node.Get(), "ProcessIdentifier"), "Inbox");
    EXPECT_EQ(Field(node.Get(), "Flag"), "QV_WM_CLOSE_PROCESS");
    EXPECT_EQ(picture.find("failed"), std::string::npos) << picture;
}

// On a display for pictures the refusal is the real box, pictured and closed.
TEST_F(ProgramDialogTest, TheRefusalBoxIsPictured) {
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("VORLAN_SCREENSHOT_DIR", folder, sizeof folder)) GTEST_SKIP() << "no display";
    auto node = Node("QV_CREATE_PROCESS", "x");
    std::string picture;
    Run(node, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_IDENTIFIER, "");
        picture = PictureRefusalBox(dialog, "Wendric", "wendric-fields-cannot-be-empty");
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(picture.find("failed"), std::string::npos) << picture;
}

}  // namespace
}  // namespace vorlan::processsync::testing
