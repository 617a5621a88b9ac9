// Yarrowin's window against emulated devices of profiles the tests set,
// read back through the page host's element dump; and the program itself.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "DeviceEmulator.h"
#include "HtmlDump.h"
#include "MessageBox.h"
#include "TestSupport.h"
#include "WindowCapture.h"
#include "YarrowinDlg.h"

namespace vorlan::deviceview {
namespace {

using testing::DeviceEmulator;
using testing::HtmlDump;
using testing::TempFolder;

constexpr char kCaption[] = "Dravenhall Vorlan - Yarrowin";
constexpr char kNoDevice[] = "Yarrowin is unable to communicate with CE device.";
constexpr char kNoDeviceHint[] = "Make sure it's turned on and connected.";

// An owner whose name holds markup, Latin letters beyond ASCII and Cyrillic
// ones (scripts the page's font draws here), and sizes past 2 GiB, which
// print unsigned.
constexpr char kProfile[] =
    "DeviceName = Field-07 \xC3\x9C\n"
    "OwnerName = <b>&amp; J\xC3\xBCrgen \xC3\x98ster \xD0\x94\xD0\xBC\xD0\xB8\xD1\x82\xD1\x80\xD0\xB8\xD0\xB9\n"
    "OwnerCompany = Dravenhall & S\xC3\xB8n\n"
    "OwnerTelephone = +44 1632 960123\n"
    "OwnerAddress = 1 Quay \"Street\", \xC3\x86r\xC3\xB8\n"
    "OwnerEmail = j@example.org\n"
    "OsMajor = 5\nOsMinor = 2\nOsBuild = 1235\nPlatformId = 3\n"
    "ProcessorType = 2577\nProcessorArchitecture = 5\n"
    "TotalPhys = 67108864\nAvailPhys = 41943040\n"
    "StoreSize = 3221225472\nFreeSize = 1073741824\n";

// Every row of the page and what the profile above makes of it.
const struct {
    const char* id;
    const char* text;
} kRows[] = {
    {"OwnerName", "<b>&amp; J\xC3\xBCrgen \xC3\x98ster \xD0\x94\xD0\xBC\xD0\xB8\xD1\x82\xD1\x80\xD0\xB8\xD0\xB9"},
    {"OwnerCompany", "Dravenhall & S\xC3\xB8n"},
    {"OwnerTelephone", "+44 1632 960123"},
    {"OwnerAddress", "1 Quay \"Street\", \xC3\x86r\xC3\xB8"},
    {"OwnerEmail", "j@example.org"},
    {"DeviceName", "Field-07 \xC3\x9C"},
    {"PlatformId", "WIN32_CE"},
    {"OsVersion", "5.2"},
    {"ProcessorType", "STRONGARM"},
    {"ProcessorArchitecture", "ARM"},
    {"MemoryTotal", "67108864 bytes"},
    {"MemoryAvailable", "41943040 bytes"},
    {"MemoryUsed", "25165824 bytes"},
    {"StorageTotal", "3221225472 bytes"},
    {"StorageAvailable", "1073741824 bytes"},
    {"StorageUsed", "2147483648 bytes"},
};

// The window made, shown and loaded (the device asked).
void Open(CYarrowinDlg& dialog) {
    ASSERT_TRUE(dialog.Create()) << dialog.LastError();
    ShowWindow(dialog.m_hWnd, SW_SHOW);
    vorlan::testing::PumpMessages(30);
}

void ExpectEveryRow(const HtmlDump& dump) {
    for (const auto& row : kRows) {
        auto line = dump.find(row.id);
        ASSERT_NE(line, dump.end()) << row.id;
        EXPECT_EQ(line->second.tag, "td") << row.id;
        EXPECT_EQ(line->second.text, row.text) << row.id;
    }
}

class Yarrowin : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        device_.UseForRapi();
    }
    void TearDown() override { CoUninitialize(); }

    DeviceEmulator device_{kProfile};
    TempFolder folder_;
    const std::string dumpPath_ = folder_ / "dump.txt";
    testing::ScopedEnvironment dump_{"VORLAN_HTML_DUMP", dumpPath_};
    std::vector<MessageBoxRequest> boxes_;
    ScopedMessageBoxAnswerer answerer_{[this](const MessageBoxRequest& box) {
        boxes_.push_back(box);
        return IDOK;
    }};
};

TEST_F(Yarrowin, EveryRowShowsTheDevicesValueAsStored) {
    CYarrowinDlg dialog;
    Open(dialog);
    EXPECT_EQ(dialog.GetWindowText(), kCaption);
    HtmlDump dump = testing::DumpHtmlPage(dialog.m_hWnd, dumpPath_);
    ExpectEveryRow(dump);
    EXPECT_EQ(dump["deviceproperties"].text.find('%'), std::string::npos) << dump["deviceproperties"].text;
    EXPECT_EQ(dialog.GetElementById("OwnerName")->children.size(), 1u) << "the name's markup stays text";
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(Yarrowin, CloseClosesAndTheLinkGoesThroughTheShellJournal) {
    const std::string journal = folder_ / "links.txt";
    testing::ScopedEnvironment journalled("VORLAN_SHELL_JOURNAL", journal);
    CYarrowinDlg dialog;
    Open(dialog);
    EXPECT_TRUE(dialog.ClickElement("DravenhallLink"));
    EXPECT_EQ(testing::ReadFileBytes(journal), "http://www.dravenhall.example/\n");
    EXPECT_NE(dialog.m_hWnd, nullptr) << "the link leaves the page open";
    EXPECT_TRUE(dialog.ClickElement("ButtonClose"));
    vorlan::testing::PumpMessages(30);
    EXPECT_EQ(dialog.m_hWnd, nullptr) << "closed";
}

TEST_F(Yarrowin, TheSystemMenusAboutItemOpensTheAboutBox) {
    CYarrowinDlg dialog;
    Open(dialog);
    HMENU menu = GetSystemMenu(dialog.m_hWnd, FALSE);
    char item[64] = "";
    GetMenuStringA(menu, CHtmlDialog::kAboutCommand, item, sizeof item, MF_BYCOMMAND);
    EXPECT_STREQ(item, "&About Yarrowin...");
    EXPECT_NE(dialog.SendMessage(WM_GETICON, ICON_BIG), 0) << "the program's icon";
    std::string version;
    std::thread closer([&] {
        HWND about = testing::WaitForDialog("About Yarrowin");
        if (!about) return;
        version = testing::WindowText(GetDlgItem(about, 1000));
        PostMessageA(about, WM_COMMAND, IDOK, 0);
    });
    dialog.SendMessage(WM_SYSCOMMAND, CHtmlDialog::kAboutCommand);
    closer.join();
    EXPECT_EQ(version, "Yarrowin Version 1.0");
    EXPECT_NE(dialog.m_hWnd, nullptr) << "the page stays";
}

// The program as the user starts it: its own process, found by its caption
// and read through the dump it writes on request.
TEST_F(Yarrowin, TheProgramShowsTheDeviceAndItsAboutBoxAndEndsWithClose) {
    PROCESS_INFORMATION process;
    ASSERT_TRUE(vorlan::testing::StartProgram(std::string("\"") + YARROWIN_PATH + "\"", process));
    HWND window = nullptr;
    HtmlDump dump;
    for (int i = 0; i < 200 && !dump.count("OwnerName"); ++i) {
        window = FindWindowA(nullptr, kCaption);
        DWORD owner = 0;
        if (window) GetWindowThreadProcessId(window, &owner);
        if (owner == process.dwProcessId && testing::FindElementWindow(window, "ButtonClose")) {
            dump = testing::DumpHtmlPage(window, dumpPath_);
        }
        if (!dump.count("OwnerName")) Sleep(50);
    }
    ASSERT_TRUE(dump.count("OwnerName")) << "the window and its facts";
    ExpectEveryRow(dump);
    PostMessageA(window, WM_SYSCOMMAND, CHtmlDialog::kAboutCommand, 0);
    HWND about = nullptr;
    for (int i = 0; i < 200 && !about; ++i) {
        about = FindWindowA("#32770", "About Yarrowin");
        DWORD owner = 0;
        if (about) GetWindowThreadProcessId(about, &owner);
        if (owner != process.dwProcessId) about = nullptr;
        if (!about) Sleep(50);
    }
    ASSERT_NE(about, nullptr) << "the about box of the program";
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    HWND close = testing::FindElementWindow(window, "ButtonClose");
    ASSERT_NE(close, nullptr);
    PostMessageA(close, BM_CLICK, 0, 0);
    EXPECT_EQ(vorlan::testing::WaitForProgram(process, 10000), 0) << "the program ends by itself";
}

TEST_F(Yarrowin, Picture) {
    CYarrowinDlg dialog;
    Open(dialog);
    std::string saved = vorlan::testing::SaveScreenshot(dialog.m_hWnd, "device");
    EXPECT_EQ(saved.find("failed"), std::string::npos) << saved;
    std::thread pictured([&] {
        HWND about = testing::WaitForDialog("About Yarrowin");
        if (!about) return;
        Sleep(300);  // drawn
        saved = vorlan::testing::SaveScreenshot(about, "about");
        PostMessageA(about, WM_COMMAND, IDOK, 0);
    });
    dialog.SendMessage(WM_SYSCOMMAND, CHtmlDialog::kAboutCommand);
    pictured.join();
    EXPECT_EQ(saved.find("failed"), std::string::npos) << saved;
}

// With no device: string 102's two centred paragraphs once the connection
// has given up (it waits 2 s at most).
TEST(YarrowinNoDevice, ShowsTheTwoCentredParagraphs) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    testing::ScopedEnvironment noDevice("VORLAN_DEVICE", "C:\\no such device");
    {
        auto start = std::chrono::steady_clock::now();
        CYarrowinDlg dialog;
        Open(dialog);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("no device: the page said so after %.2f s\n", seconds);
        HtmlNode* facts = dialog.GetElementById("deviceproperties");
        ASSERT_NE(facts, nullptr);
        ASSERT_EQ(facts->children.size(), 2u);
        const char* said[] = {kNoDevice, kNoDeviceHint};
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(facts->children[i]->tag, "p");
            EXPECT_EQ(facts->children[i]->Attribute("align"), "center");
            EXPECT_EQ(TextOf(*facts->children[i]), said[i]);
        }
        EXPECT_EQ(dialog.GetElementById("OwnerName"), nullptr) << "no table of facts";
        EXPECT_TRUE(dialog.IsElementEnabled("ButtonClose"));
        std::string saved = vorlan::testing::SaveScreenshot(dialog.m_hWnd, "no-device");
        EXPECT_EQ(saved.find("failed"), std::string::npos) << saved;
    }
    CoUninitialize();
}

}  // namespace
}  // namespace vorlan::deviceview
