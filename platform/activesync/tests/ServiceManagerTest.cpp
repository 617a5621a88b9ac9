// The service manager when a device connects: the auto-start programs with
// their arguments, its commands from a second instance, and its journal.
#include <gtest/gtest.h>

#include <algorithm>

#include "CeUtil.h"
#include "ServiceKeys.h"
#include "ServiceManagerCommands.h"
#include "ServiceManagerProcess.h"
#include "SharedFile.h"

namespace vorlan::testing {
namespace {

using Line = ServiceManagerProcess::Line;

LONG SetAutoStart(const std::string& name, const std::string& commandLine) {
    HKEY key = nullptr;
    LONG error = RegCreateKeyExA(HKEY_LOCAL_MACHINE, activesync::kAutoStartKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                 nullptr, &key, nullptr);
    if (error != ERROR_SUCCESS) return error;
    error = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(commandLine.c_str()),
                           static_cast<DWORD>(commandLine.size() + 1));
    RegCloseKey(key);
    return error;
}

void RemoveAutoStart(const std::string& name) {
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, activesync::kAutoStartKey, name.c_str());
}

// Waits until the recorder wrote count lines; the lines it wrote.
std::vector<std::string> Recorded(const std::string& path, size_t count) {
    std::vector<std::string> lines;
    for (int i = 0; i < 500; ++i) {
        lines.clear();
        for (const auto& line : ReadJournal(path)) lines.push_back(line.empty() ? "" : line[0]);
        if (lines.size() >= count) break;
        Sleep(20);
    }
    return lines;
}

// The providers are switched off here: these tests are about the manager.
class ServiceManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableA("VORLAN_ARGS_RECORDER", recorded_.c_str());
        ASSERT_EQ(SetProviderDisabled("Vorlan", 1), ERROR_SUCCESS);
    }
    void TearDown() override {
        for (const std::string& name : names_) RemoveAutoStart(name);
        SetProviderDisabled("Vorlan", 0);
        SetEnvironmentVariableA("VORLAN_ARGS_RECORDER", nullptr);
    }
    std::string AutoStart(const std::string& arguments) {
        names_.push_back(UniqueName("ArgsRecorder"));
        const std::string command = "\"" + WindowsPath(ARGS_RECORDER_PATH) + "\"" + arguments;
        EXPECT_EQ(SetAutoStart(names_.back(), command), ERROR_SUCCESS);
        return command;
    }

    TempFolder folder_;
    std::string recorded_ = folder_ / "recorded.txt";
    std::vector<std::string> names_;
};

TEST_F(ServiceManagerTest, AConnectedDeviceStartsTheAutoStartProgramsWithTheirArguments) {
    const std::string syncNow = AutoStart(" /SyncNow");
    const std::string quoted = AutoStart(" /SyncNow \"C:\\My Projects\\top.xml\"");
    names_.push_back(UniqueName("Missing"));
    ASSERT_EQ(SetAutoStart(names_.back(), "\"C:\\nowhere\\missing.exe\" /SyncNow"), ERROR_SUCCESS);

    ServiceManagerProcess manager;
    ASSERT_TRUE(manager.Started());
    Sleep(200);
    EXPECT_TRUE(ReadJournal(recorded_).empty());  // nothing before a device connects

    ASSERT_EQ(manager.Command(activesync::kDeviceConnectedMessage), S_OK);
    std::vector<std::string> lines = Recorded(recorded_, 2);
    std::sort(lines.begin(), lines.end());
    std::vector<std::string> expected = {syncNow, quoted};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);

    const auto starts = manager.Lines("autostart");
    auto find = [&](const std::string& command) {
        return std::find_if(starts.begin(), starts.end(),
                            [&](const Line& line) { return line.size() >= 3 && line[1] == command; });
    };
    ASSERT_NE(find(syncNow), starts.end());
    EXPECT_EQ((*find(syncNow))[2], "started");
    ASSERT_NE(find("\"C:\\nowhere\\missing.exe\" /SyncNow"), starts.end());
    EXPECT_EQ((*find("\"C:\\nowhere\\missing.exe\" /SyncNow"))[2], "failed");

    // Synchronising again starts nothing; connecting again starts them again.
    ASSERT_EQ(manager.Command(activesync::kSynchronizeMessage), S_OK);
    ASSERT_EQ(manager.Command(activesync::kDeviceDisconnectedMessage), S_OK);
    ASSERT_EQ(manager.Command(activesync::kDeviceConnectedMessage), S_OK);
    EXPECT_EQ(Recorded(recorded_, 4).size(), 4u);

    const auto providers = manager.Lines("provider");
    EXPECT_NE(std::find(providers.begin(), providers.end(), Line{"Vorlan", "Dravenhall.Vorlan", "disabled"}),
              providers.end());
    EXPECT_TRUE(manager.Lines("call").empty());
}

TEST_F(ServiceManagerTest, ASecondInstanceHandsItsCommandsToTheRunningOne) {
    const std::string syncNow = AutoStart(" /SyncNow");
    ServiceManagerProcess manager;
    ASSERT_TRUE(manager.Started());
    const std::string program = "\"" + WindowsPath(SERVICE_MANAGER_PATH) + "\"";

    EXPECT_EQ(RunProgram(program + " /sync"), 1);  // no device: the command fails
    EXPECT_EQ(RunProgram(program + " /connect /sync"), 0);
    EXPECT_EQ(Recorded(recorded_, 1), std::vector<std::string>{syncNow});
    EXPECT_EQ(RunProgram(program + " /disconnect /quit"), 0);
    EXPECT_TRUE(manager.WaitForExit());

    std::vector<std::string> kinds;
    for (const Line& line : manager.Lines())
        if (!line.empty() && (line[0] == "device" || line[0] == "sync")) kinds.push_back(line[0] + " " + line.at(1));
    EXPECT_EQ(kinds, (std::vector<std::string>{"device connected", "sync begin", "sync end", "sync begin",
                                               "sync end", "device disconnected"}));
}

// While a device is connected, CeUtil's root 5 is that device's
// partnership, where the options switch the provider; a provider switched
// off there is not loaded. The options command needs a device, since
// providers are loaded for one.
TEST_F(ServiceManagerTest, TheConnectedDevicesPartnershipSwitchesProviders) {
    HMODULE library = LoadLibraryA("CeUtil.Dll");
    ASSERT_NE(library, nullptr);
    const auto open = reinterpret_cast<CeSvcOpenProc>(GetProcAddress(library, "CeSvcOpen"));
    const auto set = reinterpret_cast<CeSvcSetDwordProc>(GetProcAddress(library, "CeSvcSetDword"));
    const auto close = reinterpret_cast<CeSvcCloseProc>(GetProcAddress(library, "CeSvcClose"));
    char path[] = "Objects\\Vorlan";
    HCESVC service = nullptr;

    ServiceManagerProcess manager;
    ASSERT_TRUE(manager.Started());
    EXPECT_EQ(open(CESVC_SYNCHRONIZATION, path, TRUE, &service), HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED));
    EXPECT_EQ(manager.Command(activesync::kShowOptionsMessage), HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED));

    ASSERT_EQ(manager.Command(activesync::kDeviceConnectedMessage), S_OK);
    ASSERT_EQ(open(CESVC_SYNCHRONIZATION, path, TRUE, &service), S_OK);
    EXPECT_EQ(set(service, "Disabled", 1), S_OK);
    EXPECT_EQ(close(service), S_OK);
    ASSERT_EQ(manager.Command(activesync::kDeviceDisconnectedMessage), S_OK);
    EXPECT_EQ(open(CESVC_SYNCHRONIZATION, path, FALSE, &service), HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED));

    // On for the machine, off for this device.
    ASSERT_EQ(SetProviderDisabled("Vorlan", 0), ERROR_SUCCESS);
    ASSERT_EQ(manager.Command(activesync::kDeviceConnectedMessage), S_OK);
    SetProviderDisabled("Vorlan", 1);
    const auto providers = manager.Lines("provider");
    EXPECT_NE(std::find(providers.begin(), providers.end(), Line{"Vorlan", "Dravenhall.Vorlan", "disabled"}),
              providers.end());
    EXPECT_TRUE(manager.Lines("call").empty());
    EXPECT_EQ(manager.Command(activesync::kShowOptionsMessage), S_OK);  // no provider loaded: nothing shown

    ASSERT_EQ(open(CESVC_SYNCHRONIZATION, path, FALSE, &service), S_OK);
    EXPECT_EQ(set(service, "Disabled", 0), S_OK);
    EXPECT_EQ(close(service), S_OK);
    ASSERT_EQ(manager.Command(activesync::kDeviceDisconnectedMessage), S_OK);
    FreeLibrary(library);
}

}  // namespace
}  // namespace vorlan::testing
