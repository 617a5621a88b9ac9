// The options dialog opened through the core's entry object, driven by
// messages as a user's clicks would arrive, with what it writes read back
// from the registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <string>

#include "Bstr.h"
#include "ComPtr.h"
#include "DeviceEmulator.h"
#include "DialogDriver.h"
#include "OptionsSettings.h"
#include "RegistryByPath.h"
#include "Resource.h"
#include "Settings.h"
#include "TestSupport.h"
#include "TwoWaySyncData.h"
#include "WindowCapture.h"
#include "corvath.h"

namespace vorlan::testing {
namespace {

const std::string kRunnerCommand = "\"C:\\Program Files\\Dravenhall\\Vorlan\\Stelmar.exe\" /SyncNow";
const char* const kChoices[] = {"Microsoft ActiveSync with Vorlan", "Stelmar", "None"};

class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(com_.Result())); }
    void TearDown() override { SetEnvironmentVariableA("VORLAN_DEVICE", nullptr); }

    // ConfigurationDlgBox with drive working the dialog; its result.
    HRESULT Options(const std::function<void(HWND)>& drive) {
        com::ComPtr<IVorlanMain> main;
        HRESULT hr = com::CreateInstance(CLSID_VorlanMain, main);
        if (FAILED(hr)) return hr;
        bool shown = WithDialog("Options", [&] { hr = main->ConfigurationDlgBox(); }, [&](HWND dialog) {
            drive(dialog);
            EXPECT_TRUE(WaitForClose(dialog));
        });
        EXPECT_TRUE(shown) << "no dialog titled Options";
        return hr;
    }
    // A device that is not there: nothing answers at the named place.
    void NoDevice() { SetEnvironmentVariableA("VORLAN_DEVICE", (folder_ / "nothing").c_str()); }

    ComScope com_;
    OptionsSettings settings_;
    MessageBoxJournal boxes_;
    TempFolder folder_;
};

// The three front ends, with a device connected (the combo box chooses) and
// without one (the combo box is disabled and shows the stored choice,
// which the auto-start entry follows; the partnership is left alone).
TEST_F(OptionsDialogTest, EachChoiceSwitchesTheProviderAndTheRunner) {
    struct Case {
        bool device;
        int choice;
        long disabled;       // at the partnership afterwards (7: untouched)
        bool runnerStarts;   // the auto-start entry is the runner's
    };
    const Case cases[] = {
        {true, 0, 0, false}, {true, 1, 1, true}, {true, 2, 1, false},
        {false, 0, 7, false}, {false, 1, 7, true}, {false, 2, 7, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.device ? "device, " : "no device, ") + kChoices[c.choice]);
        settings_.Clear();
        ASSERT_EQ(RegWriteString(settings::kInstallDir, "C:\\Program Files\\Dravenhall\\Vorlan\\"), ERROR_SUCCESS);
        ASSERT_EQ(RegWriteString(settings::kRunnerAutoStart, "stale"), ERROR_SUCCESS);
        OptionsSettings::SetConnected(true);
        OptionsSettings::SetPartnershipDisabled(7);
        OptionsSettings::SetConnected(c.device);
        const int stored = c.device ? (c.choice + 1) % 3 : c.choice;
        ASSERT_EQ(RegWriteDword(settings::kUserDefaultSyncApp, stored), ERROR_SUCCESS);

        bool comboEnabled = false;
        int shownChoice = -2;
        std::vector<std::string> entries;
        EXPECT_EQ(Options([&](HWND dialog) {
                      comboEnabled = IsEnabled(dialog, IDC_SYNC_APP);
                      shownChoice = ComboSelection(dialog, IDC_SYNC_APP);
                      entries = ComboEntries(dialog, IDC_SYNC_APP);
                      if (c.device) ChooseComboEntry(dialog, IDC_SYNC_APP, c.choice);
                      SetItemText(dialog, IDC_PROJECT_URL, "C:\\proj\\top.xml");
                      Click(dialog, IDC_REPORT_AT_END);
                      PressButton(dialog, IDOK);
                  }),
                  S_OK);
        EXPECT_EQ(comboEnabled, c.device);
        EXPECT_EQ(shownChoice, stored);
        EXPECT_EQ(entries, std::vector<std::string>(std::begin(kChoices), std::end(kChoices)));
        EXPECT_EQ(OptionsSettings::Text(settings::kUserPluginConfig), "C:\\proj\\top.xml");
        EXPECT_EQ(OptionsSettings::Number(settings::kUserErrorLevel), 1);
        EXPECT_EQ(OptionsSettings::Number(settings::kUserDefaultSyncApp), c.choice);
        OptionsSettings::SetConnected(true);
        EXPECT_EQ(OptionsSettings::PartnershipDisabled(), c.disabled);
        EXPECT_EQ(OptionsSettings::Text(settings::kRunnerAutoStart), c.runnerStarts ? kRunnerCommand : "<absent>");
        EXPECT_TRUE(boxes_.Boxes().empty());
    }
}

TEST_F(OptionsDialogTest, ErrorLevelRadios) {
    // The machine's level shows when the user has none.
    ASSERT_EQ(RegWriteDword(kMachineErrorLevel, 1), ERROR_SUCCESS);
    std::string checked;
    EXPECT_EQ(Options([&](HWND dialog) {
                  for (int id : {IDC_REPORT_AT_ONCE, IDC_REPORT_AT_END, IDC_LOG_ONLY})
                      checked += IsChecked(dialog, id) ? "1" : "0";
                  PressButton(dialog, IDCANCEL);
              }),
              S_OK);
    EXPECT_EQ(checked, "010");
    EXPECT_EQ(OptionsSettings::Number(settings::kUserErrorLevel), -1) << "Cancel writes nothing";
    EXPECT_EQ(OptionsSettings::Text(settings::kUserPluginConfig), "<absent>");
    EXPECT_EQ(OptionsSettings::Number(settings::kUserDefaultSyncApp), -1);

    // Each radio stores its level; with none chosen, 3 (no balloon at all).
    const std::pair<int, long> radios[] = {
        {IDC_REPORT_AT_ONCE, 2}, {IDC_REPORT_AT_END, 1}, {IDC_LOG_ONLY, 0}, {0, 3}};
    for (const auto& [radio, level] : radios) {
        settings_.Clear();
        EXPECT_EQ(Options([&, radio = radio](HWND dialog) {
                      if (radio) Click(dialog, radio);
                      PressButton(dialog, IDOK);
                  }),
                  S_OK);
        EXPECT_EQ(OptionsSettings::Number(settings::kUserErrorLevel), level) << radio;
    }

    // Cancel after changes leaves every value as it was.
    ASSERT_EQ(RegWriteString(settings::kUserPluginConfig, "C:\\before.xml"), ERROR_SUCCESS);
    ASSERT_EQ(RegWriteString(settings::kRunnerAutoStart, "before"), ERROR_SUCCESS);
    OptionsSettings::SetConnected(true);
    OptionsSettings::SetPartnershipDisabled(0);
    EXPECT_EQ(Options([&](HWND dialog) {
                  SetItemText(dialog, IDC_PROJECT_URL, "C:\\after.xml");
                  Click(dialog, IDC_LOG_ONLY);
                  ChooseComboEntry(dialog, IDC_SYNC_APP, 2);
                  PressButton(dialog, IDCANCEL);
              }),
              S_OK);
    EXPECT_EQ(OptionsSettings::Text(settings::kUserPluginConfig), "C:\\before.xml");
    EXPECT_EQ(OptionsSettings::Number(settings::kUserErrorLevel), 3);
    EXPECT_EQ(OptionsSettings::Number(settings::kUserDefaultSyncApp), 0);
    EXPECT_EQ(OptionsSettings::Text(settings::kRunnerAutoStart), "before");
    EXPECT_EQ(OptionsSettings::PartnershipDisabled(), 0);
}

// The runner's command: a folder without its closing backslash gets one;
// without a folder, or with one too long for the command, no entry is
// written and the user is told.
TEST_F(OptionsDialogTest, InstallDirMakesTheRunnersCommand) {
    const std::string longFolder = "C:\\" + std::string(240, 'v');
    struct Case {
        const char* note;
        const char* installDir;  // nullptr: none
        std::string entry;
    };
    const Case cases[] = {
        {"no backslash", "C:\\Vorlan", "\"C:\\Vorlan\\Stelmar.exe\" /SyncNow"},
        {"missing", nullptr, "<absent>"},
        {"too long", longFolder.c_str(), "<absent>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        settings_.Clear();
        boxes_.Clear();
        if (c.installDir) {
            ASSERT_EQ(RegWriteString(settings::kInstallDir, c.installDir), ERROR_SUCCESS);
        }
        OptionsSettings::SetConnected(true);
        EXPECT_EQ(Options([&](HWND dialog) {
                      ChooseComboEntry(dialog, IDC_SYNC_APP, 1);
                      Click(dialog, IDC_REPORT_AT_ONCE);
                      PressButton(dialog, IDOK);
                  }),
                  S_OK);
        EXPECT_EQ(OptionsSettings::Text(settings::kRunnerAutoStart), c.entry);
        EXPECT_EQ(OptionsSettings::Number(settings::kUserDefaultSyncApp), 1);
        EXPECT_EQ(OptionsSettings::PartnershipDisabled(), 1);
        const auto boxes = boxes_.Boxes();
        if (c.entry == "<absent>") {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].caption, "Vorlan");
            EXPECT_NE(boxes[0].text.find("InstallDir"), std::string::npos) << boxes[0].text;
        } else {
            EXPECT_TRUE(boxes.empty());
        }
    }
}

// Clear Cache: with the device, the desktop's state file of the device and
// the device's record store both go; without a device, or with the store
// held open by a device program, the failure message.
TEST_F(OptionsDialogTest, ClearCache) {
    DeviceEmulator device(kVorlanInstalled);
    device.UseForRapi();
    ASSERT_TRUE(device.InstallOstrum());
    const std::wstring recordStore = L"\\Program Files\\Dravenhall\\Vorlan\\TwoWaySync.dat";
    std::string stateFile;
    ASSERT_EQ(GetTwoWaySyncDataPath(stateFile), S_OK);
    const auto makeCaches = [&] {
        WriteFileBytes(stateFile, "[C:\\a.txt]\r\nCRC=1\r\n");
        WriteFileBytes(com::AnsiFromWide(device.HostPath(recordStore)), "records");
    };
    const auto exists = [](const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; };
    const std::string storeHost = com::AnsiFromWide(device.HostPath(recordStore));

    makeCaches();
    uint32_t hold = 0;
    EXPECT_EQ(Options([&](HWND dialog) {
                  PressButton(dialog, IDC_CLEAR_CACHE);
                  Sleep(50);
                  // The box has been answered once the button's work is done.
                  for (int i = 0; i < 500 && boxes_.Boxes().size() < 1; ++i) Sleep(20);
                  EXPECT_FALSE(exists(stateFile));
                  EXPECT_FALSE(exists(storeHost));

                  makeCaches();
                  hold = device.HoldFile(recordStore, 0);
                  EXPECT_NE(hold, 0u);
                  PressButton(dialog, IDC_CLEAR_CACHE);
                  for (int i = 0; i < 500 && boxes_.Boxes().size() < 2; ++i) Sleep(20);
                  EXPECT_TRUE(exists(storeHost)) << "held open by a device program";
                  device.ReleaseFile(hold);
                  PressButton(dialog, IDCANCEL);
              }),
              S_OK);
    const std::string notCleaned =
        "Your cache files were not cleaned.\nPlease make sure your the files are not in use and your device is connected.";
    auto boxes = boxes_.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Vorlan");
    EXPECT_EQ(boxes[0].text, "Operation completed successfully.");
    EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(boxes[1].text, notCleaned);
    EXPECT_EQ(boxes[1].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));

    device.Stop();
    NoDevice();
    boxes_.Clear();
    WriteFileBytes(stateFile, "[C:\\a.txt]\r\nCRC=1\r\n");
    EXPECT_EQ(Options([&](HWND dialog) {
                  PressButton(dialog, IDC_CLEAR_CACHE);
                  for (int i = 0; i < 500 && boxes_.Boxes().empty(); ++i) Sleep(20);
                  PressButton(dialog, IDCANCEL);
              }),
              S_OK);
    boxes = boxes_.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, notCleaned);
    EXPECT_TRUE(exists(stateFile)) << "without the device's name, no state file is known to be its own";
    DeleteFileA(stateFile.c_str());
}

// "..." opens Wine's file dialog in the folder of the file URL in the
// field; the chosen file replaces the text.
TEST_F(OptionsDialogTest, BrowseStartsInTheProjectsFolder) {
    const std::string projects = folder_ / "projects";
    CreateDirectoryA(projects.c_str(), nullptr);
    const std::string chosen = projects + "\\chosen.xml";
    WriteFileBytes(chosen, "<root/>");
    std::string url = "file:///" + projects + "/top.xml";
    for (char& ch : url)
        if (ch == '\\') ch = '/';
    std::string startFolder, field;
    EXPECT_EQ(Options([&](HWND dialog) {
                  SetItemText(dialog, IDC_PROJECT_URL, url);
                  PressButton(dialog, IDC_BROWSE);
                  HWND chooser = WaitForWindow("Open File...", GetCurrentProcessId());
                  ASSERT_NE(chooser, nullptr);
                  char folder[MAX_PATH] = {};
                  SendMessageA(chooser, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
                  startFolder = folder;
                  SendMessageA(chooser, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(chosen.c_str()));
                  SendMessageA(chooser, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(chosen.c_str()));
                  PressButton(chooser, IDOK);
                  EXPECT_TRUE(WaitForClose(chooser));
                  field = ItemText(dialog, IDC_PROJECT_URL);
                  PressButton(dialog, IDCANCEL);
              }),
              S_OK);
    EXPECT_EQ(_stricmp(startFolder.c_str(), projects.c_str()), 0) << startFolder;
    // Written with the variable of the known folder it lies in.
    char expanded[MAX_PATH] = {};
    ExpandEnvironmentStringsA(field.c_str(), expanded, sizeof expanded);
    EXPECT_EQ(field.rfind("%USERPROFILE%\\", 0), 0u) << field;
    EXPECT_EQ(_stricmp(expanded, chosen.c_str()), 0) << field;
}

// The dialog as a user sees it.
TEST_F(OptionsDialogTest, Picture) {
    ASSERT_EQ(RegWriteString(settings::kUserPluginConfig, "C:\\Projects\\Demo\\top.xml"), ERROR_SUCCESS);
    ASSERT_EQ(RegWriteDword(settings::kUserErrorLevel, 1), ERROR_SUCCESS);
    OptionsSettings::SetConnected(true);
    EXPECT_EQ(Options([&](HWND dialog) {
                  Sleep(300);
                  SaveScreenshot(dialog, "core-options-dialog");
                  PressButton(dialog, IDCANCEL);
              }),
              S_OK);
}

}  // namespace
}  // namespace vorlan::testing
