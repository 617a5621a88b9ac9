#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AboutDlg.h"
#include "Bstr.h"
#include "CeRapi.h"
#include "DeviceEmulator.h"
#include "EventSources.h"
#include "MessageBox.h"
#include "Resource.h"
#include "Resources.h"
#include "ServiceKeys.h"
#include "ServiceManagerCommands.h"
#include "ServiceManagerProcess.h"
#include "TestSupport.h"
#include "VorlanTestDlg.h"
#include "WindowCapture.h"

namespace vorlan::runner {
namespace {

using testing::ListViewText;
using testing::WindowText;

// Serves this thread's windows for up to ms, or until done says so.
void Pump(DWORD ms, const std::function<bool()>& done = [] { return false; }) {
    DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < ms) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(GetAncestor(message.hwnd, GA_ROOT), &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Every text the list's cells are given, and a hook called on each.
class ListSpy {
public:
    explicit ListSpy(HWND list) : list_(list) {
        spies().push_back(this);
        previous_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListSpy::Procedure)));
    }
    ~ListSpy() {
        if (IsWindow(list_)) SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        spies().clear();
    }
    std::vector<std::string> texts;
    std::function<void(const std::string&)> onText;

private:
    static std::vector<ListSpy*>& spies() {
        static std::vector<ListSpy*> all;
        return all;
    }
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        ListSpy* self = spies().back();
        if (message == LVM_SETITEMTEXTA) {
            const auto* item = reinterpret_cast<const LVITEMA*>(lParam);
            if (item->iSubItem == 1 && item->pszText) {
                self->texts.push_back(item->pszText);
                if (self->onText) self->onText(item->pszText);
            }
        }
        return CallWindowProcA(self->previous_, window, message, wParam, lParam);
    }
    HWND list_;
    WNDPROC previous_ = nullptr;
};

struct AskedBox {
    std::string caption, text;
    UINT type;
    bool operator==(const AskedBox&) const = default;
};

// The runner's window made in this process (whose name holds "stelmar", so
// the core writes its progress into the window's list), a device and a
// project of one component run by the core's own table object.
class RunnerTest : public ::testing::Test {
protected:
    RunnerTest()
        : answerer_([this](const MessageBoxRequest& request) {
              boxes_.push_back({request.caption, request.text, request.type});
              return DefaultMessageBoxAnswer(request.type);
          }) {}

    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        project_ = Project();
        // As installed: the core's source in the Application log.
        ASSERT_EQ(eventlog::RegisterSource(eventlog::kApplicationLog, "Vorlan", MESSAGES_PATH), ERROR_SUCCESS);
    }
    void TearDown() override { eventlog::UnregisterSource(eventlog::kApplicationLog, "Vorlan"); }

    void StartDevice() {
        device_ = std::make_unique<testing::DeviceEmulator>(testing::kVorlanInstalled);
        device_->UseForRapi();
    }
    // A device that is not there: nothing answers at the named place.
    void NoDevice() { SetEnvironmentVariableA("VORLAN_DEVICE", (folder_ / "nothing").c_str()); }

    std::string Project() {
        const std::string leaf = folder_ / "later.xml";
        testing::WriteFileBytes(leaf,
                                "<?xml version=\"1.0\"?>\n<root>\n\t<PlugInsCfg ProgId=\"Corvath.Vorlan\" "
                                "ConfigUrl=\"none.xml\" Name=\"Later\" Version=\"0\" Patch=\"0\" AlwaysSync=\"0\"/>\n"
                                "</root>\n");
        const std::string top = folder_ / "top.xml";
        testing::WriteFileBytes(top,
                                "<?xml version=\"1.0\"?>\n<root>\n\t<PlugInsCfg ProgId=\"Corvath.Vorlan\" "
                                "ConfigUrl=\"later.xml\" Name=\"Demo\" Version=\"1.0\" Patch=\"0\" AlwaysSync=\"0\"/>\n"
                                "</root>\n");
        return top;
    }

    // The version of the project's component in the device's index.
    std::string IndexedVersion() const {
        char value[64] = {};
        std::wstring index = device_->HostPath(L"\\Program Files\\Dravenhall\\Vorlan\\Vorlan.sdo");
        GetPrivateProfileStringA("later.xml", "Version", "", value, sizeof value,
                                 com::AnsiFromWide(index).c_str());
        return value;
    }

    HWND Item(CVorlanTestDlg& dialog, int id) { return dialog.GetDlgItem(id); }
    std::string Row(CVorlanTestDlg& dialog, int column) { return ListViewText(Item(dialog, IDC_LIST), 0, column); }
    void Click(CVorlanTestDlg& dialog, int id) {
        SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(dialog, id)));
    }
    bool AllEnabled(CVorlanTestDlg& dialog) {
        return IsWindowEnabled(Item(dialog, IDC_SYNC)) && IsWindowEnabled(Item(dialog, IDC_CONFIG)) &&
               IsWindowEnabled(Item(dialog, IDOK));
    }

    testing::ComScope com_;
    testing::TempFolder folder_;
    std::unique_ptr<testing::DeviceEmulator> device_;
    std::string project_;
    std::vector<AskedBox> boxes_;
    ScopedMessageBoxAnswerer answerer_;
};

TEST_F(RunnerTest, WindowRunsTheProjectAndItsListShowsTheCoresProgress) {
    StartDevice();
    CVorlanTestDlg dialog;
    dialog.SetCommandLine("\"" + project_ + "\"");
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(WindowText(dialog.m_hWnd), "Stelmar");
    EXPECT_EQ(FindRunnerWindow(), dialog.m_hWnd);
    EXPECT_EQ(WindowText(Item(dialog, IDC_SYNC)), "&Sync");
    EXPECT_EQ(WindowText(Item(dialog, IDC_CONFIG)), "&Config...");
    EXPECT_EQ(WindowText(Item(dialog, IDOK)), "&Close");
    EXPECT_TRUE(GetWindowLongA(Item(dialog, IDC_SYNC), GWL_STYLE) & BS_DEFPUSHBUTTON);
    HWND header = reinterpret_cast<HWND>(SendMessageA(Item(dialog, IDC_LIST), LVM_GETHEADER, 0, 0));
    ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_GE(SendMessageA(Item(dialog, IDC_LIST), LVM_GETCOLUMNWIDTH, 0, 0), 100);
    EXPECT_EQ(SendMessageA(Item(dialog, IDC_LIST), LVM_GETCOLUMNWIDTH, 1, 0), 395);
    EXPECT_EQ(Row(dialog, 0), "Vorlan");
    EXPECT_EQ(Row(dialog, 1), "");
    EXPECT_EQ(dialog.Url(), project_);
    EXPECT_FALSE(dialog.CloseAfterRun());

    ListSpy spy(Item(dialog, IDC_LIST));
    bool disabledDuringRun = false;
    spy.onText = [&](const std::string& text) {
        if (text.rfind("Package ", 0) != 0) return;
        disabledDuringRun = !IsWindowEnabled(Item(dialog, IDC_SYNC)) && !IsWindowEnabled(Item(dialog, IDOK)) &&
                            dialog.Running();
    };
    // A real click on the button; the run is over when the click returns.
    const std::string journal = folder_ / "status.txt";
    SetEnvironmentVariableA("VORLAN_RUNNER_JOURNAL", journal.c_str());
    SendMessageA(Item(dialog, IDC_SYNC), BM_CLICK, 0, 0);
    SetEnvironmentVariableA("VORLAN_RUNNER_JOURNAL", nullptr);
    EXPECT_EQ(testing::ReadFileBytes(journal),
              "status\tVorlan\tPackage Demo: Part 1 of 1\nstatus\tVorlan\tPackage Later: Part 1 of 1\n"
              "status\tVorlan\tSynchronization complete.\n");
    EXPECT_EQ(spy.texts, (std::vector<std::string>{"Package Demo: Part 1 of 1", "Package Later: Part 1 of 1",
                                                   "Synchronization complete."}));
    EXPECT_TRUE(disabledDuringRun);
    EXPECT_EQ(Row(dialog, 1), "Synchronization complete.");
    EXPECT_TRUE(AllEnabled(dialog));
    EXPECT_EQ(IndexedVersion(), "1.0");
    EXPECT_TRUE(boxes_.empty());

    // Config: the core's options, over the runner's window, which waits
    // meanwhile; closed here as a user would.
    bool optionsShown = false, runnerWaited = false;
    std::thread user([&] {
        HWND options = nullptr;
        for (int i = 0; i < 1500 && !options; ++i, Sleep(20)) {
            options = FindWindowA(nullptr, "Options");
            DWORD process = 0;
            if (options) GetWindowThreadProcessId(options, &process);
            if (process != GetCurrentProcessId() || !IsWindowVisible(options)) options = nullptr;
        }
        if (!options) return;
        optionsShown = GetWindow(options, GW_OWNER) == dialog.m_hWnd;
        runnerWaited = !IsWindowEnabled(dialog.m_hWnd);
        PostMessageA(options, WM_COMMAND, IDCANCEL, 0);
    });
    // As a user's click would, the click makes the runner the active window
    // (other test programs' windows may hold the activation meanwhile).
    SetActiveWindow(dialog.m_hWnd);
    Click(dialog, IDC_CONFIG);
    user.join();
    EXPECT_TRUE(optionsShown);
    EXPECT_TRUE(runnerWaited);
    EXPECT_TRUE(boxes_.empty());
    EXPECT_TRUE(AllEnabled(dialog));
    EXPECT_TRUE(IsWindow(dialog.m_hWnd));

    std::string picture = testing::SaveScreenshot(dialog.m_hWnd, "runner-after-run");
    EXPECT_EQ(picture.find("failed"), std::string::npos) << picture;

    // Closing the idle window.
    Click(dialog, IDOK);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST_F(RunnerTest, WithoutADeviceTheUserIsToldAndTheRowStillEndsComplete) {
    NoDevice();
    CVorlanTestDlg dialog;
    ASSERT_TRUE(dialog.Create());
    Click(dialog, IDC_SYNC);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], (AskedBox{"Error", LoadResourceString(IDS_NO_DEVICE), MB_ICONERROR}));
    EXPECT_EQ(boxes_[0].text, "Your device is not connected or off. \nPlease reconnect your device or turn it on "
                              "before using this application.");
    EXPECT_EQ(Row(dialog, 1), "Synchronization complete.");
    EXPECT_TRUE(AllEnabled(dialog));
    // The session started for the failed connection was ended: no session is left.
    EXPECT_EQ(CeRapiUninit(), E_FAIL);
}

TEST_F(RunnerTest, SyncNowRunsAtOnceAndClosesTheWindowAtTheEnd) {
    StartDevice();
    CVorlanTestDlg dialog;
    dialog.SetCommandLine("/syncnow \"" + project_ + "\" ignored");
    ASSERT_TRUE(dialog.Create());
    EXPECT_TRUE(dialog.CloseAfterRun());
    EXPECT_EQ(dialog.Url(), project_);
    Pump(60000, [&] { return dialog.m_hWnd == nullptr; });
    EXPECT_EQ(dialog.m_hWnd, nullptr) << "closed itself";
    EXPECT_EQ(dialog.RunsStarted(), 1);
    EXPECT_EQ(IndexedVersion(), "1.0");
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(RunnerTest, MalformedCommandLineIsShownAndNothingRuns) {
    const char* lines[] = {"/SyncNow \"\"", "/SyncNow \"C:\\unclosed", "x\""};
    for (const char* line : lines) {
        boxes_.clear();
        CVorlanTestDlg dialog;
        dialog.SetCommandLine(line);
        ASSERT_TRUE(dialog.Create()) << line;
        ASSERT_EQ(boxes_.size(), 1u) << line;
        EXPECT_EQ(boxes_[0], (AskedBox{"Stelmar", LoadResourceString(IDS_BAD_COMMAND_LINE), MB_ICONERROR}));
        EXPECT_FALSE(dialog.CloseAfterRun()) << line;
        EXPECT_EQ(dialog.Url(), "") << line;
        Pump(300);
        EXPECT_EQ(dialog.RunsStarted(), 0) << line;
        EXPECT_TRUE(IsWindow(dialog.m_hWnd)) << "the window stays: " << line;
    }
    EXPECT_EQ(LoadResourceString(IDS_BAD_COMMAND_LINE),
              "Invalid Command Line: Proper syntax is\n\nStelmar [/SyncNow [\"<URL_OR_PATH>\"]]");
}

TEST_F(RunnerTest, SyncAndCloseDuringARunWaitForItsEndAndNeverStartASecondWorker) {
    NoDevice();
    CVorlanTestDlg dialog;
    ASSERT_TRUE(dialog.Create());
    ListSpy spy(Item(dialog, IDC_LIST));
    // While the first run goes on: two forwarded Sync commands and a Close.
    boxes_.clear();
    ScopedMessageBoxAnswerer during([&](const MessageBoxRequest& request) {
        boxes_.push_back({request.caption, request.text, request.type});
        if (boxes_.size() == 1) {
            HWND button = Item(dialog, IDC_SYNC);
            // Sent, so the window takes them while this first run still goes on.
            for (int i = 0; i < 2; ++i)
                SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_SYNC, BN_CLICKED),
                             reinterpret_cast<LPARAM>(button));
            PostMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        return IDOK;
    });
    Click(dialog, IDC_SYNC);
    Pump(10000, [&] { return dialog.m_hWnd == nullptr; });
    // One run, then the one remembered request (a worker started inside the
    // first run's message loop would make three), then the close.
    EXPECT_EQ(dialog.RunsStarted(), 2);
    EXPECT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(spy.texts, (std::vector<std::string>{"Synchronization complete.", "Synchronization complete."}));
    EXPECT_EQ(dialog.m_hWnd, nullptr) << "the close came after the runs";
}

// A runner whose worker cannot be started.
class NoThreadDlg : public CVorlanTestDlg {
protected:
    std::unique_ptr<CWinThread> BeginSyncThread(const std::string*) override { return nullptr; }
};

TEST_F(RunnerTest, WorkerThatCannotStartLeavesTheWindowIdle) {
    NoThreadDlg dialog;
    ASSERT_TRUE(dialog.Create());
    Click(dialog, IDC_SYNC);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], (AskedBox{"Error", "The synchronization could not be started.", MB_ICONERROR}));
    EXPECT_EQ(Row(dialog, 1), "The synchronization could not be started.");
    EXPECT_TRUE(AllEnabled(dialog));
    EXPECT_FALSE(dialog.Running());
    EXPECT_FALSE(CWnd::WaitCursorShown());
    Click(dialog, IDOK);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

struct AboutSeen {
    std::string caption, name, tip;
    LONG tipStyle = 0;
    int tipWidth = 0;
    std::string picture;
};
AboutSeen g_about;

void CALLBACK LookAtAbout(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND about = FindWindowA(nullptr, "About Stelmar");
    if (!about) return;
    KillTimer(nullptr, timer);
    g_about.caption = WindowText(about);
    g_about.name = WindowText(GetDlgItem(about, IDC_ABOUT_NAME));
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM about) -> BOOL {
        char kind[64] = {};
        GetClassNameA(window, kind, sizeof kind);
        if (lstrcmpiA(kind, TOOLTIPS_CLASSA) != 0 || GetWindow(window, GW_OWNER) != reinterpret_cast<HWND>(about))
            return TRUE;
        char text[512] = {};
        TTTOOLINFOA info = {};
        info.cbSize = sizeof info;
        info.hwnd = reinterpret_cast<HWND>(about);
        info.uId = static_cast<UINT_PTR>(about);
        info.lpszText = text;
        SendMessageA(window, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
        g_about.tip = text;
        g_about.tipStyle = GetWindowLongA(window, GWL_STYLE);
        g_about.tipWidth = static_cast<int>(SendMessageA(window, TTM_GETMAXTIPWIDTH, 0, 0));
        return FALSE;
    }, reinterpret_cast<LPARAM>(about));
    g_about.picture = testing::SaveScreenshot(about, "runner-about");
    PostMessageA(about, WM_COMMAND, IDOK, 0);
}

TEST_F(RunnerTest, SystemMenuOpensTheAboutBox) {
    CVorlanTestDlg dialog;
    ASSERT_TRUE(dialog.Create());
    char item[64] = {};
    GetMenuStringA(GetSystemMenu(dialog.m_hWnd, FALSE), IDM_ABOUTBOX, item, sizeof item, MF_BYCOMMAND);
    EXPECT_STREQ(item, "&About Stelmar...");
    g_about = {};
    UINT_PTR timer = SetTimer(nullptr, 0, 50, LookAtAbout);
    SendMessageA(dialog.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_about.caption, "About Stelmar");
    EXPECT_EQ(g_about.name, "Stelmar Version 2.3");
    EXPECT_EQ(g_about.tip, LoadResourceString(IDS_SUPPORT_NOTICE));
    EXPECT_TRUE(g_about.tipStyle & TTS_BALLOON);
    EXPECT_EQ(g_about.tipWidth, 300);
    EXPECT_EQ(g_about.picture.find("failed"), std::string::npos) << g_about.picture;
    EXPECT_TRUE(IsWindowEnabled(dialog.m_hWnd)) << "the runner is usable again";
}

// The first message box titled caption (not the runner's own window of
// the same title), pictured and answered with OK; false when none came.
bool PictureMessageBox(const std::string& caption, const std::string& name, std::string& picture) {
    for (int tries = 0; tries < 500; ++tries) {
        for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, "#32770", caption.c_str()));) {
            if (GetDlgItem(box, IDC_LIST) || !IsWindowVisible(box)) continue;
            picture = testing::SaveScreenshot(box, name);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        }
        Sleep(20);
    }
    return false;
}

TEST_F(RunnerTest, MessageBoxesAsTheUserSeesThem) {
    char folder[MAX_PATH];
    if (!GetEnvironmentVariableA("VORLAN_SCREENSHOT_DIR", folder, sizeof folder))
        GTEST_SKIP() << "real message boxes only on a screen for pictures";
    // Nobody answers for the user here: the real boxes show.
    ScopedMessageBoxAnswerer user{MessageBoxAnswerer()};
    char answer[32] = {};
    GetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", answer, sizeof answer);
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", nullptr);

    struct Seen {
        bool shown = false;
        std::string picture;
    } commandLine, noDevice;
    {
        std::thread looker([&] {
            commandLine.shown = PictureMessageBox("Stelmar", "runner-bad-command-line", commandLine.picture);
        });
        CVorlanTestDlg dialog;
        dialog.SetCommandLine("/SyncNow \"\"");
        ASSERT_TRUE(dialog.Create());
        looker.join();
    }
    {
        NoDevice();
        CVorlanTestDlg dialog;
        ASSERT_TRUE(dialog.Create());
        std::thread looker([&] { noDevice.shown = PictureMessageBox("Error", "runner-no-device", noDevice.picture); });
        Click(dialog, IDC_SYNC);
        looker.join();
        EXPECT_EQ(Row(dialog, 1), "Synchronization complete.");
    }
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", answer[0] ? answer : nullptr);
    EXPECT_TRUE(commandLine.shown);
    EXPECT_EQ(commandLine.picture.find("failed"), std::string::npos) << commandLine.picture;
    EXPECT_TRUE(noDevice.shown);
    EXPECT_EQ(noDevice.picture.find("failed"), std::string::npos) << noDevice.picture;
}

// Runs a program while this thread keeps serving its windows (a second
// instance talks to the first one's window); its exit code, -1 on time-out.
int RunServing(std::string commandLine, DWORD timeoutMs = 60000) {
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    DWORD code = static_cast<DWORD>(-1);
    Pump(timeoutMs, [&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; });
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    else TerminateProcess(process.hProcess, code);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

std::string Stelmar() { return "\"" + testing::WindowsPath(STELMAR_PATH) + "\""; }

TEST_F(RunnerTest, SecondInstanceForwardsSyncNowToTheFirstAndEnds) {
    NoDevice();
    // A window of that title without the runner's list is not the runner.
    HWND impostor = CreateWindowA("STATIC", "Stelmar", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(FindRunnerWindow(), nullptr);

    CVorlanTestDlg first;
    ASSERT_TRUE(first.Create());
    EXPECT_EQ(FindRunnerWindow(), first.m_hWnd);

    EXPECT_EQ(RunServing(Stelmar()), 0) << "without the switch";
    Pump(300);
    EXPECT_EQ(first.RunsStarted(), 0);

    EXPECT_EQ(RunServing(Stelmar() + " /SYNCNOW"), 0);
    Pump(10000, [&] { return first.RunsStarted() == 1 && !first.Running(); });
    EXPECT_EQ(first.RunsStarted(), 1);
    EXPECT_EQ(Row(first, 1), "Synchronization complete.");
    EXPECT_TRUE(IsWindow(first.m_hWnd)) << "the first instance stays open";
    EXPECT_TRUE(GetWindowLongA(first.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    DestroyWindow(impostor);
}

TEST_F(RunnerTest, ProgramWithSyncNowRunsTheProjectAndEndsByItself) {
    StartDevice();
    const std::string journal = folder_ / "boxes.txt";
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", journal.c_str());
    EXPECT_EQ(RunServing(Stelmar() + " /SyncNow \"" + project_ + "\""), 0);
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", nullptr);
    EXPECT_EQ(IndexedVersion(), "1.0");
    EXPECT_EQ(GetFileAttributesA(journal.c_str()), INVALID_FILE_ATTRIBUTES)
        << "no message box was shown: " << testing::ReadFileBytes(journal);
}

// Registered for auto-start in place of the provider (as the options set it
// up when the runner is the front end), the runner is started by the
// service manager when a device connects, runs the project and ends.
TEST_F(RunnerTest, TheServiceManagerStartsTheRunnerWhenADeviceConnects) {
    StartDevice();
    const std::string name = testing::UniqueName("Stelmar");
    const std::string command = Stelmar() + " /SyncNow \"" + project_ + "\"";
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, activesync::kAutoStartKey, name.c_str(), REG_SZ, command.c_str(),
                              static_cast<DWORD>(command.size() + 1)),
              ERROR_SUCCESS);
    ASSERT_EQ(testing::SetProviderDisabled("Vorlan", 1), ERROR_SUCCESS);
    {
        testing::ServiceManagerProcess manager;
        ASSERT_TRUE(manager.Started());
        ASSERT_EQ(manager.Command(activesync::kDeviceConnectedMessage), S_OK);
        Pump(60000, [&] { return IndexedVersion() == "1.0" && FindRunnerWindow() == nullptr; });
        EXPECT_EQ(IndexedVersion(), "1.0") << "the runner ran the project";
        EXPECT_EQ(FindRunnerWindow(), nullptr) << "and closed itself";
        const auto starts = manager.Lines("autostart");
        EXPECT_NE(std::find_if(starts.begin(), starts.end(),
                               [&](const auto& line) {
                                   return line.size() >= 3 && line[0] == name && line[1] == command &&
                                          line[2] == "started";
                               }),
                  starts.end());
        EXPECT_TRUE(manager.Lines("call").empty()) << "no provider was loaded";
    }
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, activesync::kAutoStartKey, name.c_str());
    testing::SetProviderDisabled("Vorlan", 0);
}

}  // namespace
}  // namespace vorlan::runner
