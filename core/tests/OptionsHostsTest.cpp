// The options dialog in every host that shows it: a script client, the
// runner's Config button and the service manager's options command; and
// what each choice makes of the service manager's next connection.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <future>
#include <string>

#include "CoreRun.h"
#include "DialogDriver.h"
#include "OptionsSettings.h"
#include "RegistryByPath.h"
#include "Resource.h"
#include "ServiceManagerCommands.h"
#include "ServiceManagerProcess.h"
#include "Settings.h"

namespace vorlan::testing {
namespace {

// A program started and left running; ended when the object goes.
class Child {
public:
    explicit Child(std::string commandLine) {
        STARTUPINFOA startup = {sizeof startup};
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process_)) {
            CloseHandle(process_.hThread);
        }
    }
    ~Child() {
        if (!process_.hProcess) return;
        if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hProcess);
    }
    DWORD Id() const { return process_.dwProcessId; }
    // The exit code, or -1 when it did not end within ms.
    long Wait(DWORD ms = 30000) const {
        DWORD code = 0;
        if (WaitForSingleObject(process_.hProcess, ms) != WAIT_OBJECT_0 || !GetExitCodeProcess(process_.hProcess, &code))
            return -1;
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION process_ = {};
};

// Works the options dialog of another process: the project set, OK.
void ConfirmOptions(DWORD processId, const std::string& project, int choice = -1) {
    HWND dialog = WaitForWindow("Options", processId);
    ASSERT_NE(dialog, nullptr) << "no options of process " << processId;
    if (choice >= 0) {
        ASSERT_TRUE(IsEnabled(dialog, IDC_SYNC_APP));
        ChooseComboEntry(dialog, IDC_SYNC_APP, choice);
    }
    SetItemText(dialog, IDC_PROJECT_URL, project);
    PressButton(dialog, IDOK);
    EXPECT_TRUE(WaitForClose(dialog));
}

class OptionsHostsTest : public ::testing::Test {
protected:
    OptionsSettings settings_;
};

TEST_F(OptionsHostsTest, AScriptClientShowsTheOptions) {
    Child script("cscript //nologo \"" + WindowsPath(OPTIONS_SCRIPT_PATH) + "\"");
    ConfirmOptions(script.Id(), "C:\\from-script.xml");
    EXPECT_EQ(script.Wait(), 0);
    EXPECT_EQ(OptionsSettings::Text(settings::kUserPluginConfig), "C:\\from-script.xml");
}

TEST_F(OptionsHostsTest, TheRunnersConfigButtonShowsTheOptions) {
    Child runner("\"" + WindowsPath(STELMAR_PATH) + "\"");
    HWND window = WaitForWindow("Stelmar", runner.Id());
    ASSERT_NE(window, nullptr);
    PressButton(window, 1001);  // "&Config..."
    ConfirmOptions(runner.Id(), "C:\\from-runner.xml");
    EXPECT_EQ(OptionsSettings::Text(settings::kUserPluginConfig), "C:\\from-runner.xml");
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(runner.Wait(), 0);
}

// The service manager's options command reaches the provider's
// ActivateDialog(0), which shows the core's options over the connected
// device; each choice then decides what the next connection runs.
TEST_F(OptionsHostsTest, EachChoiceDecidesWhatTheNextConnectionRuns) {
    const std::string runnerFolder = WindowsPath(STELMAR_PATH).substr(0, WindowsPath(STELMAR_PATH).rfind('\\') + 1);
    struct Case {
        int choice;
        const char* provider;  // what the journal says of it
        bool runnerStarts;
    };
    const Case cases[] = {{2, "disabled", false}, {1, "disabled", true}, {0, "created", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("choice " + std::to_string(c.choice));
        settings_.Clear();
        CoreRun run;
        run.Table("a.xml", "RecorderSync", {{{"Name", "a1"}, {"Value", "v"}}});
        const std::string top =
            run.Table("top.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", "a.xml", "A", "1.0", "0", "1")});
        ASSERT_EQ(RegWriteString(settings::kUserPluginConfig, top.c_str()), ERROR_SUCCESS);
        ASSERT_EQ(RegWriteString(settings::kInstallDir, runnerFolder.c_str()), ERROR_SUCCESS);
        ASSERT_EQ(SetProviderDisabled("Vorlan", 0), ERROR_SUCCESS);
        const auto transfers = [&] {
            const auto journal = run.Journal();
            return std::count(journal.begin(), journal.end(), "PerformTransfer Name=a1 Value=v");
        };

        ServiceManagerProcess manager;
        ASSERT_TRUE(manager.Started());
        ASSERT_EQ(manager.Command(activesync::kDeviceConnectedMessage), S_OK);
        EXPECT_EQ(transfers(), 1) << "the provider ran the project";

        DWORD managerId = 0;
        GetWindowThreadProcessId(FindWindowA(nullptr, "DccMan"), &managerId);
        auto options = std::async(std::launch::async,
                                  [&] { return manager.Command(activesync::kShowOptionsMessage); });
        ConfirmOptions(managerId, top, c.choice);
        EXPECT_EQ(options.get(), S_OK);
        const auto calls = manager.Lines("call");
        EXPECT_NE(std::find(calls.begin(), calls.end(),
                            ServiceManagerProcess::Line{"IReplStore::ActivateDialog", "0x00000000", "0"}),
                  calls.end());
        ASSERT_EQ(manager.Command(activesync::kDeviceDisconnectedMessage), S_OK);
        EXPECT_EQ(OptionsSettings::Number(settings::kUserDefaultSyncApp), c.choice);

        run.ClearJournal();
        ASSERT_EQ(manager.Command(activesync::kDeviceConnectedMessage), S_OK);
        const auto providers = manager.Lines("provider");
        ASSERT_FALSE(providers.empty());
        EXPECT_EQ(providers.back().at(2), c.provider);

        const auto starts = manager.Lines("autostart");
        const bool runnerStarted = std::any_of(starts.begin(), starts.end(), [](const auto& line) {
            return line.size() >= 3 && line[0] == "Vorlan" && line[1].find("Stelmar.exe\" /SyncNow") != std::string::npos &&
                   line[2] == "started";
        });
        EXPECT_EQ(runnerStarted, c.runnerStarts);
        // What ran reached the device: the runner's run ends on its own.
        // The runner records the component in the device's index after its items.
        for (int i = 0; i < 1500 && c.runnerStarts && (transfers() == 0 || run.Index("a.xml", "Name") != "A"); ++i)
            Sleep(20);
        if (!c.runnerStarts) Sleep(500);
        // The index is read once the runner has gone: while it runs it may
        // replace the index again, which moves the old one aside first.
        if (c.runnerStarts) {
            const HWND runner = FindWindowA(nullptr, "Stelmar");
            DWORD runnerId = 0;
            GetWindowThreadProcessId(runner, &runnerId);
            const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, runnerId);
            EXPECT_TRUE(WaitForClose(runner)) << "the runner closes after /SyncNow";
            if (process) {
                EXPECT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0) << "the runner's process ends";
                CloseHandle(process);
            }
        }
        EXPECT_EQ(transfers(), c.choice == 2 ? 0 : 1);
        EXPECT_EQ(run.Index("a.xml", "Name"), "A");
        ASSERT_EQ(manager.Command(activesync::kDeviceDisconnectedMessage), S_OK);
    }
    SetProviderDisabled("Vorlan", 0);
}

}  // namespace
}  // namespace vorlan::testing
