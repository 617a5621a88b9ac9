// The host's window on its test page, driven with messages and read back
// through the dump, the controls' "HtmlElementId" and the element calls.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "HtmlDialog.h"
#include "HtmlDialogTestIds.h"
#include "HtmlDump.h"
#include "MessageBox.h"
#include "ShellOpen.h"
#include "TestSupport.h"
#include "WindowCapture.h"

namespace vorlan {
namespace {

class TestHost : public CHtmlDialog {
public:
    std::vector<std::string> clicks;
    int loaded = 0;
    std::string failId;  // the element whose control is not made

protected:
    void OnPageLoaded() override { ++loaded; }
    void OnElementClick(const std::string& id) override { clicks.push_back(id); }
    HWND MakeControl(const HtmlControlPlace& place, UINT controlId) override {
        if (!failId.empty() && place.node->Attribute("id") == failId) return nullptr;
        return CHtmlDialog::MakeControl(place, controlId);
    }
};

std::string TempPath(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name + std::to_string(GetCurrentProcessId());
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string ElementIdOf(HWND window) {
    ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(window, "HtmlElementId")));
    char name[256] = "";
    if (atom) GlobalGetAtomNameA(atom, name, sizeof name);
    return name;
}

class HtmlDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        dumpPath_ = TempPath("html-dump-");
        _putenv_s("VORLAN_HTML_DUMP", dumpPath_.c_str());
    }
    void TearDown() override {
        _putenv_s("VORLAN_HTML_DUMP", "");
        DeleteFileA(dumpPath_.c_str());
        CoUninitialize();
    }
    bool Open(TestHost& host, int height = 420) {
        return host.Create(GetModuleHandleA(nullptr), "TESTPAGE", nullptr, 560, height);
    }
    testing::HtmlDump Dump(TestHost& host) { return testing::DumpHtmlPage(host.m_hWnd, dumpPath_); }
    std::string dumpPath_;
};

TEST_F(HtmlDialogTest, TestPageShowsEveryElementAndReadsBackThroughTheDump) {
    TestHost host;
    ASSERT_TRUE(Open(host)) << host.LastError();
    EXPECT_EQ(host.GetWindowText(), "Page host test & picture");
    auto dump = Dump(host);
    const struct {
        const char* id;
        const char* tag;
        const char* text;
        const char* state;
    } expected[] = {
        {"heading", "h1", "Every element the host shows", "-"},
        {"bold", "b", "bold", "-"},
        {"span", "span", "noted span", "-"},
        {"rule", "hr", "", "-"},
        {"mark", "img", "", "-"},
        {"unknown", "blink", "Unknown elements are ignored, their text stays.", "-"},
        {"pairs-caption", "th", "Pairs (colspan 3)", "-"},
        {"pair-a", "input", "", "checked,enabled"},
        {"pair-b", "input", "", "unchecked,enabled"},
        {"apply", "button", "Apply", "-,enabled"},
        {"second", "input", "", "-,enabled"},
        {"off", "button", "Disabled", "-,disabled"},
        {"link", "a", "www.dravenhall.example", "-,enabled"},
    };
    for (const auto& e : expected) {
        ASSERT_TRUE(dump.count(e.id)) << e.id;
        const testing::HtmlDumpLine& line = dump[e.id];
        EXPECT_EQ(line.tag, e.tag) << e.id;
        EXPECT_EQ(line.text, e.text) << e.id;
        EXPECT_EQ(line.state, e.state) << e.id;
        EXPECT_GT(line.width, 0) << e.id << " has a place";
        EXPECT_GT(line.height, 0) << e.id << " has a place";
    }
    EXPECT_NE(dump["intro"].text.find("<a> & \xC2\xA9 \xE2\x82\xAC"), std::string::npos) << dump["intro"].text;
    EXPECT_EQ(dump["mark"].width, 32) << "the GIF's own size";
    EXPECT_EQ(dump["mark"].height, 32);
    EXPECT_EQ(dump["pairs-caption"].width, dump["pairs"].width) << "colspan 3 spans the table";
    EXPECT_LT(dump["heading"].top, dump["intro"].top);
    EXPECT_LT(dump["intro"].top, dump["pairs"].top);

    // Each control names its element.
    std::set<std::string> named;
    for (HWND child = GetWindow(host.m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        named.insert(ElementIdOf(child));
    EXPECT_EQ(named, (std::set<std::string>{"pair-a", "other-a", "pair-b", "other-b", "apply", "second", "off", "link",
                                            "bottom"}));
    EXPECT_EQ(ElementIdOf(host.GetElementWindow("apply")), "apply");
    EXPECT_EQ(host.GetElementById("nothing"), nullptr);
    EXPECT_EQ(host.GetElementText("warning"), "A warning by id");
    EXPECT_EQ(host.GetElementText("nothing"), "");
}

TEST_F(HtmlDialogTest, NoDumpUnlessAsked) {
    TestHost host;
    ASSERT_TRUE(Open(host)) << host.LastError();
    _putenv_s("VORLAN_HTML_DUMP", "");
    EXPECT_EQ(host.SendMessage(CHtmlDialog::DumpMessage()), 0);
    EXPECT_EQ(GetFileAttributesA(dumpPath_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(HtmlDialogTest, RadiosGroupByNameAcrossThePage) {
    TestHost host;
    ASSERT_TRUE(Open(host)) << host.LastError();
    const struct {
        const char* click;
        bool pairA, pairB, otherA, otherB;
    } steps[] = {
        {"pair-b", false, true, true, false},
        {"other-b", false, true, false, true},
        {"pair-a", true, false, false, true},
        {"pair-a", true, false, false, true},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(host.ClickElement(step.click)) << step.click;
        EXPECT_EQ(host.GetRadioChecked("pair-a"), step.pairA) << step.click;
        EXPECT_EQ(host.GetRadioChecked("pair-b"), step.pairB) << step.click;
        EXPECT_EQ(host.GetRadioChecked("other-a"), step.otherA) << step.click;
        EXPECT_EQ(host.GetRadioChecked("other-b"), step.otherB) << step.click;
        EXPECT_EQ(SendMessageA(host.GetElementWindow("pair-b"), BM_GETCHECK, 0, 0) == BST_CHECKED, step.pairB)
            << "the control shows it";
        EXPECT_EQ(host.clicks.back(), step.click);
    }
    EXPECT_TRUE(host.SetRadioChecked("other-a", true));
    EXPECT_FALSE(host.GetRadioChecked("other-b"));
    EXPECT_FALSE(host.SetRadioChecked("apply", true)) << "not a radio";
    EXPECT_FALSE(host.GetRadioChecked("apply"));
    EXPECT_EQ(Dump(host)["other-b"].state, "unchecked,enabled");
}

TEST_F(HtmlDialogTest, InnerHtmlReplacesOrLeavesTheElementAsItWas) {
    TestHost host;
    ASSERT_TRUE(Open(host)) << host.LastError();
    ASSERT_TRUE(host.ClickElement("pair-b"));
    ASSERT_TRUE(host.SetInnerHtml("slot", "New <b id=\"new-bold\">text</b> and <button id=\"made\">Made</button>"))
        << host.LastError();
    EXPECT_EQ(host.GetElementText("slot"), "New text and Made");
    EXPECT_NE(host.GetElementWindow("made"), nullptr);
    EXPECT_TRUE(host.GetRadioChecked("pair-b")) << "state survives the new layout";
    EXPECT_TRUE(host.ClickElement("made"));
    EXPECT_EQ(host.clicks.back(), "made");
    EXPECT_EQ(Dump(host)["new-bold"].tag, "b");

    const char* broken[] = {"<b>unclosed", "a & b", "<p></b>"};
    for (const char* fragment : broken) {
        EXPECT_FALSE(host.SetInnerHtml("slot", fragment)) << fragment;
        EXPECT_NE(host.LastError().find("does not parse"), std::string::npos) << host.LastError();
        EXPECT_EQ(host.GetElementText("slot"), "New text and Made") << fragment;
        EXPECT_NE(host.GetElementWindow("made"), nullptr) << fragment;
    }
    EXPECT_FALSE(host.SetInnerHtml("nothing", "x"));
}

TEST_F(HtmlDialogTest, DisabledElementsTakeNoClicks) {
    TestHost host;
    ASSERT_TRUE(Open(host)) << host.LastError();
    EXPECT_FALSE(host.IsElementEnabled("off"));
    EXPECT_FALSE(host.ClickElement("off")) << "disabled in the page";
    const char* ids[] = {"apply", "pair-b", "link"};
    for (const char* id : ids) {
        ASSERT_TRUE(host.EnableElement(id, false)) << id;
        EXPECT_FALSE(IsWindowEnabled(host.GetElementWindow(id))) << id;
        EXPECT_FALSE(host.ClickElement(id)) << id;
        EXPECT_EQ(Dump(host)[id].state.find("disabled") != std::string::npos, true) << id;
        ASSERT_TRUE(host.EnableElement(id, true)) << id;
        EXPECT_TRUE(IsWindowEnabled(host.GetElementWindow(id))) << id;
    }
    EXPECT_TRUE(host.clicks.empty());
    EXPECT_FALSE(host.ClickElement("warning")) << "no control";
    EXPECT_FALSE(host.EnableElement("nothing", true));
    ASSERT_TRUE(host.EnableElement("off", true));
    EXPECT_TRUE(host.ClickElement("off"));
    EXPECT_EQ(host.clicks, std::vector<std::string>{"off"});
}

TEST_F(HtmlDialogTest, PageLoadedFiresOnceAfterTheFirstShow) {
    TestHost host;
    ASSERT_TRUE(Open(host)) << host.LastError();
    vorlan::testing::PumpMessages();
    EXPECT_EQ(host.loaded, 0) << "not before it shows";
    for (int i = 0; i < 3; ++i) {
        ShowWindow(host.m_hWnd, SW_SHOW);
        vorlan::testing::PumpMessages();
        ShowWindow(host.m_hWnd, SW_HIDE);
        vorlan::testing::PumpMessages();
    }
    EXPECT_EQ(host.loaded, 1);
}

TEST_F(HtmlDialogTest, LinksOpenThroughTheJournalInAutomatedRuns) {
    std::string journal = TempPath("shell-journal-");
    DeleteFileA(journal.c_str());
    _putenv_s("VORLAN_SHELL_JOURNAL", journal.c_str());
    TestHost host;
    ASSERT_TRUE(Open(host)) << host.LastError();
    ASSERT_TRUE(host.ClickElement("link"));
    ASSERT_TRUE(host.ClickElement("link"));
    _putenv_s("VORLAN_SHELL_JOURNAL", "");
    EXPECT_EQ(ReadFile(journal), "http://www.dravenhall.example/\nhttp://www.dravenhall.example/\n");
    EXPECT_EQ(host.clicks, (std::vector<std::string>{"link", "link"}));
    DeleteFileA(journal.c_str());
}

TEST_F(HtmlDialogTest, ShellRequestsNameTheFileAndFolderAndAnswerAsTheShellWould) {
    testing::TempFolder folder;
    testing::WriteFileBytes(folder / "guide.mht", "guide");
    const std::string journal = folder / "shell.txt";
    testing::ScopedEnvironment journalled("VORLAN_SHELL_JOURNAL", journal);
    const struct {
        std::string file, folder;
        bool found;
    } cases[] = {
        {"guide.mht", folder.Path(), true},
        {"guide.mht", folder.Path() + "\\", true},
        {"missing.mht", folder.Path(), false},
        {folder / "guide.mht", "", true},
        {"guide.mht", folder / "elsewhere", false},
        {"http://www.dravenhall.example/", "", true},
    };
    std::string lines;
    for (const auto& c : cases) {
        INT_PTR result = ShellOpen(nullptr, nullptr, c.file, c.folder, SW_SHOWNORMAL);
        EXPECT_EQ(result > 32, c.found) << c.file << " in " << c.folder << ": " << result;
        if (!c.found) {
            EXPECT_EQ(result, SE_ERR_FNF);
        }
        lines += c.file + (c.folder.empty() ? "" : "\t" + c.folder) + "\n";
    }
    EXPECT_EQ(testing::ReadFileBytes(journal), lines);
    testing::ScopedEnvironment unwritable("VORLAN_SHELL_JOURNAL", folder / "no such folder\\shell.txt");
    EXPECT_EQ(ShellOpen(nullptr, nullptr, "guide.mht", folder.Path(), SW_SHOWNORMAL), SE_ERR_ACCESSDENIED);
    EXPECT_FALSE(ShellOpenLink(nullptr, "http://www.dravenhall.example/"));
}

TEST_F(HtmlDialogTest, TheSystemMenuAboutItemShowsTheAboutBox) {
    TestHost host;
    host.SetAboutBox("&About the test page...", IDD_TEST_ABOUT);
    ASSERT_TRUE(Open(host)) << host.LastError();
    HMENU menu = GetSystemMenu(host.m_hWnd, FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    char text[64] = "";
    EXPECT_EQ(GetMenuItemID(menu, count - 1), CHtmlDialog::kAboutCommand);
    GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About the test page...");
    EXPECT_TRUE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
    TestHost plain;
    ASSERT_TRUE(Open(plain)) << plain.LastError();
    EXPECT_NE(GetMenuItemID(GetSystemMenu(plain.m_hWnd, FALSE), GetMenuItemCount(GetSystemMenu(plain.m_hWnd, FALSE)) - 1),
              CHtmlDialog::kAboutCommand)
        << "no About item unless asked";
    TestHost iconless;
    iconless.SetIcon(999);
    EXPECT_FALSE(Open(iconless));
    EXPECT_EQ(iconless.LastError(), "no icon resource 999");

    // The box is modal: it is read and closed from another thread.
    std::string caption;
    bool ownerDisabled = false;
    std::thread closer([&] {
        HWND about = testing::WaitForDialog("About the test page");
        if (!about) return;
        caption = testing::WindowText(about);
        ownerDisabled = !IsWindowEnabled(GetWindow(about, GW_OWNER));
        PostMessageA(about, WM_COMMAND, IDOK, 0);
    });
    ShowWindow(host.m_hWnd, SW_SHOW);
    host.SendMessage(WM_SYSCOMMAND, CHtmlDialog::kAboutCommand);
    closer.join();
    EXPECT_EQ(caption, "About the test page");
    EXPECT_TRUE(ownerDisabled) << "modal to the page";
    EXPECT_TRUE(IsWindowEnabled(host.m_hWnd)) << "the page again, once the box is closed";

    std::vector<MessageBoxRequest> boxes;
    ScopedMessageBoxAnswerer answerer([&](const MessageBoxRequest& box) {
        boxes.push_back(box);
        return IDOK;
    });
    TestHost missing;
    missing.SetAboutBox("&About", 999);
    ASSERT_TRUE(Open(missing)) << missing.LastError();
    missing.SendMessage(WM_SYSCOMMAND, CHtmlDialog::kAboutCommand);
    ASSERT_EQ(boxes.size(), 1u) << "a template that is not there is said so";
    EXPECT_EQ(boxes[0].text, "The About box (dialog 999) could not be shown.");
    EXPECT_EQ(boxes[0].caption, "Page host test & picture");
}

TEST_F(HtmlDialogTest, TallPageScrollsAndTabReachesEveryControl) {
    TestHost host;
    ASSERT_TRUE(Open(host, 200)) << host.LastError();
    EXPECT_GT(host.PageHeight(), 200);
    EXPECT_EQ(host.ScrollPosition(), 0);
    host.ScrollIntoView("bottom");
    EXPECT_GT(host.ScrollPosition(), 0);
    RECT client, button;
    GetClientRect(host.m_hWnd, &client);
    GetWindowRect(host.GetElementWindow("bottom"), &button);
    MapWindowPoints(nullptr, host.m_hWnd, reinterpret_cast<POINT*>(&button), 2);
    EXPECT_GE(button.top, 0);
    EXPECT_LE(button.bottom, client.bottom) << "the control moved with the page";
    SendMessageA(host.m_hWnd, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(host.ScrollPosition(), 0);
    SendMessageA(host.m_hWnd, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(host.ScrollPosition(), host.PageHeight() - client.bottom);

    // Tab walks every enabled control once, in page order, unchecked radios
    // too, and keeps the one with the focus in view; Shift+Tab goes back.
    ShowWindow(host.m_hWnd, SW_SHOW);
    // Other test programs' windows may hold the activation for a moment.
    for (int i = 0; i < 250 && ElementIdOf(GetFocus()) != "pair-a"; ++i) {
        SetForegroundWindow(host.m_hWnd);
        SetActiveWindow(host.m_hWnd);
        SetFocus(host.GetElementWindow("pair-a"));
        vorlan::testing::PumpMessages();
        if (ElementIdOf(GetFocus()) != "pair-a") Sleep(20);
    }
    ASSERT_EQ(ElementIdOf(GetFocus()), "pair-a");
    std::vector<std::string> order;
    for (int i = 0; i < 9; ++i) {
        HWND focus = GetFocus();
        order.push_back(ElementIdOf(focus));
        MSG tab = {focus, WM_KEYDOWN, VK_TAB, 0};
        EXPECT_TRUE(WalkPreTranslateTree(host.m_hWnd, &tab));
        vorlan::testing::PumpMessages();
        RECT shown;
        GetWindowRect(GetFocus(), &shown);
        MapWindowPoints(nullptr, host.m_hWnd, reinterpret_cast<POINT*>(&shown), 2);
        EXPECT_GE(shown.top, 0) << ElementIdOf(GetFocus()) << " in view";
        EXPECT_LE(shown.bottom, client.bottom) << ElementIdOf(GetFocus()) << " in view";
    }
    EXPECT_EQ(order, (std::vector<std::string>{"pair-a", "other-a", "pair-b", "other-b", "apply", "second", "link",
                                               "bottom", "pair-a"}));
}

TEST_F(HtmlDialogTest, AControlThatCannotBeMadeIsReported) {
    TestHost host;
    host.failId = "second";
    EXPECT_FALSE(Open(host));
    EXPECT_NE(host.LastError().find("\"second\""), std::string::npos) << host.LastError();
    TestHost missing;
    EXPECT_FALSE(missing.Create(GetModuleHandleA(nullptr), "NOPAGE", nullptr, 300, 200));
    EXPECT_NE(missing.LastError().find("NOPAGE"), std::string::npos);
}

// Rows of a radio each, then a button: a page far taller than the window.
std::string LongRows() {
    std::string rows;
    for (int i = 1; i <= 300; ++i) {
        const std::string n = std::to_string(i);
        rows += "<p>Row " + n + " <input type=\"radio\" name=\"g" + n + "\" id=\"r" + n + "\"/></p>";
    }
    return rows + "<p><button id=\"late\">Late</button></p>";
}

int ChildWindows(HWND window) {
    int count = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++count;
    return count;
}

TEST_F(HtmlDialogTest, ALongPageMakesItsControlsAsTheyComeIntoView) {
    TestHost host;
    ASSERT_TRUE(Open(host, 200)) << host.LastError();
    ASSERT_TRUE(host.SetInnerHtml("slot", LongRows())) << host.LastError();
    EXPECT_LT(ChildWindows(host.m_hWnd), 100) << "only the controls near the view";
    EXPECT_EQ(host.GetElementWindow("late"), nullptr);
    EXPECT_EQ(host.GetElementWindow("r300"), nullptr);
    EXPECT_EQ(Dump(host)["r300"].state, "unchecked,enabled") << "an element with a control to come";

    // State given before the control is made is the control's.
    ASSERT_TRUE(host.SetRadioChecked("r300", true));
    ASSERT_TRUE(host.EnableElement("late", false));
    host.ScrollIntoView("late");
    ASSERT_NE(host.GetElementWindow("late"), nullptr);
    EXPECT_FALSE(IsWindowEnabled(host.GetElementWindow("late")));
    ASSERT_NE(host.GetElementWindow("r300"), nullptr);
    EXPECT_EQ(SendMessageA(host.GetElementWindow("r300"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(ElementIdOf(host.GetElementWindow("r300")), "r300");

    // A click on a control not made yet scrolls to it, as a user would.
    EXPECT_EQ(host.GetElementWindow("r150"), nullptr);
    const int before = host.ScrollPosition();
    EXPECT_TRUE(host.ClickElement("r150"));
    EXPECT_TRUE(host.GetRadioChecked("r150"));
    EXPECT_EQ(host.clicks.back(), "r150");
    EXPECT_LT(host.ScrollPosition(), before);

    // Shift+Tab from the first control goes round to the last, far below.
    host.SendMessage(WM_VSCROLL, SB_TOP);
    ASSERT_EQ(host.GetElementWindow("bottom"), nullptr);
    MSG back = {host.GetElementWindow("pair-a"), WM_KEYDOWN, VK_TAB, 0};
    const SHORT shift = GetKeyState(VK_SHIFT);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    EXPECT_TRUE(WalkPreTranslateTree(host.m_hWnd, &back));
    keys[VK_SHIFT] = static_cast<BYTE>(shift & 0x80);
    SetKeyboardState(keys);
    EXPECT_NE(host.GetElementWindow("bottom"), nullptr);
    EXPECT_GT(host.ScrollPosition(), 0);
}

TEST_F(HtmlDialogTest, AControlThatCannotBeMadeLaterIsReported) {
    std::vector<MessageBoxRequest> boxes;
    ScopedMessageBoxAnswerer answerer([&](const MessageBoxRequest& box) {
        boxes.push_back(box);
        return IDOK;
    });
    TestHost host;
    host.failId = "late";
    ASSERT_TRUE(Open(host, 200)) << host.LastError();
    ASSERT_TRUE(host.SetInnerHtml("slot", LongRows())) << "not in view: not made yet";
    EXPECT_TRUE(boxes.empty());
    host.ScrollIntoView("late");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find("\"late\""), std::string::npos) << boxes[0].text;
    EXPECT_EQ(boxes[0].caption, "Page host test & picture");
    EXPECT_TRUE(boxes[0].type & MB_ICONERROR);
    EXPECT_NE(host.LastError().find("\"late\""), std::string::npos);
    EXPECT_EQ(host.GetElementWindow("late"), nullptr);
    EXPECT_FALSE(host.ClickElement("late"));
    host.SendMessage(WM_VSCROLL, SB_TOP);
    host.ScrollIntoView("late");
    EXPECT_EQ(boxes.size(), 1u) << "reported once";
    EXPECT_NE(host.GetElementWindow("r299"), nullptr) << "the rest are made";
}

TEST_F(HtmlDialogTest, TestPagePicture) {
    TestHost host;
    ASSERT_TRUE(Open(host, 640)) << host.LastError();
    ShowWindow(host.m_hWnd, SW_SHOW);
    vorlan::testing::PumpMessages();
    ASSERT_TRUE(host.ClickElement("pair-b"));
    std::string saved = testing::SaveScreenshot(host.m_hWnd, "test-page");
    EXPECT_EQ(saved.find("failed"), std::string::npos) << saved;
}

}  // namespace
}  // namespace vorlan
