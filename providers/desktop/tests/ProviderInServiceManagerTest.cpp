// The provider as ActiveSync's service manager drives it: registered, loaded
// by the service manager when a device connects, and running the default
// project (with the recording plug-in) at every synchronisation.
#include <gtest/gtest.h>

#include <algorithm>

#include "CoreRun.h"
#include "RegistryByPath.h"
#include "ServiceManagerCommands.h"
#include "ServiceManagerProcess.h"
#include "SharedFile.h"

namespace vorlan::testing {
namespace {

using Lines = std::vector<std::string>;
const std::string kPluginConfig = "HKEY_CURRENT_USER\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig";

class ProviderInServiceManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<std::vector<std::pair<std::string, std::string>>> rows = {{{"Name", "a1"}, {"Value", "v"}},
                                                                              {{"Name", "a2"}, {"Value", "w"}}};
        run_.Table("a.xml", "RecorderSync", rows);
        const std::string top = run_.Table(
            "top.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", "a.xml", "A", "1.0", "0", "1")});
        ASSERT_EQ(RegWriteString(kPluginConfig, top.c_str()), ERROR_SUCCESS);
        ASSERT_EQ(SetProviderDisabled("Vorlan", 0), ERROR_SUCCESS);
    }
    void TearDown() override {
        DeleteRegValue(kPluginConfig);
        SetProviderDisabled("Vorlan", 0);
    }

    size_t Transfers() const {
        const Lines journal = run_.Journal();
        return std::count(journal.begin(), journal.end(), "PerformTransfer Name=a1 Value=v");
    }
    // The provider's calls in the service manager's journal, by method.
    std::vector<std::string> Calls(const ServiceManagerProcess& manager) const {
        std::vector<std::string> calls;
        for (const auto& line : manager.Lines("call")) calls.push_back(line.at(0));
        return calls;
    }

    TempFolder temp_;
    // The store's marker goes to a folder of the test's own.
    ScopedEnvironment tempVariable_{"TEMP", temp_.Path()};
    ScopedEnvironment tmpVariable_{"TMP", temp_.Path()};
    CoreRun run_;
};

TEST_F(ProviderInServiceManagerTest, EverySynchronisationRunsTheDefaultProject) {
    ServiceManagerProcess manager;
    ASSERT_TRUE(manager.Started());
    EXPECT_EQ(manager.Command(vorlan::activesync::kSynchronizeMessage), HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED));
    EXPECT_EQ(Transfers(), 0u);

    ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceConnectedMessage), S_OK);
    EXPECT_EQ(Transfers(), 1u);
    EXPECT_EQ(run_.Index("a.xml", "Name"), "A");  // the run reached the device
    ASSERT_EQ(manager.Command(vorlan::activesync::kSynchronizeMessage), S_OK);
    ASSERT_EQ(manager.Command(vorlan::activesync::kSynchronizeMessage), S_OK);
    EXPECT_EQ(Transfers(), 3u);
    EXPECT_TRUE(run_.EventIds().empty());

    // The core's progress lines reached ActiveSync's status line.
    const auto status = manager.Lines("status");
    EXPECT_TRUE(std::any_of(status.begin(), status.end(), [](const auto& line) {
        return !line.empty() && line[0].rfind("Vorlan: ", 0) == 0;
    }));

    ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceDisconnectedMessage), S_OK);
    EXPECT_EQ(manager.Command(vorlan::activesync::kSynchronizeMessage), HRESULT_FROM_WIN32(ERROR_NOT_CONNECTED));
    EXPECT_EQ(Transfers(), 3u);

    // Connected again: the store is made again and runs again.
    ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceConnectedMessage), S_OK);
    EXPECT_EQ(Transfers(), 4u);
}

TEST_F(ProviderInServiceManagerTest, TheJournalHoldsEveryCallInTheServiceOrder) {
    ServiceManagerProcess manager;
    ASSERT_TRUE(manager.Started());
    ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceConnectedMessage), S_OK);
    ASSERT_EQ(manager.Command(vorlan::activesync::kSynchronizeMessage), S_OK);
    ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceDisconnectedMessage), S_OK);
    // The marker changes while no device is there.
    const std::string marker = temp_ / "Vorlan.txt";
    WriteFileBytes(marker, "[Vorlan]\r\nSync=True\r\nFrom=device\r\n");
    HANDLE file = CreateFileA(marker.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME later;
    GetSystemTimeAsFileTime(&later);
    later.dwHighDateTime += 1;
    SetFileTime(file, nullptr, nullptr, &later);
    CloseHandle(file);
    ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceConnectedMessage), S_OK);
    ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceDisconnectedMessage), S_OK);

    const std::vector<std::string> open = {
        "IReplStore::Initialize", "IReplStore::GetStoreInfo", "IReplStore::GetStoreInfo"};
    const std::vector<std::string> folder = {"IReplStore::GetFolderInfo", "IReplStore::GetObjTypeUIData"};
    const std::vector<std::string> check = {
        "IReplStore::ReportStatus",  "IReplStore::IsFolderChanged", "IReplStore::ReportStatus",
        "IReplStore::FindFirstItem"};
    const std::vector<std::string> close = {"IReplStore::FindItemClose", "IReplStore::ReportStatus"};
    const std::vector<std::string> send = {"IReplObjHandler::Setup", "IReplObjHandler::GetPacket",
                                           "IReplObjHandler::Reset", "IReplStore::UpdateItem"};
    const std::vector<std::string> end = {"IReplStore::ReportStatus", "IReplStore::ObjectToBytes",
                                          "IReplStore::ObjectToBytes"};
    const std::vector<std::string> release = {"IReplStore::ReportStatus", "IReplStore::FreeObject",
                                              "IReplStore::FreeObject", "IReplObjHandler::Release",
                                              "IReplStore::Release"};
    std::vector<std::string> expected;
    auto add = [&](const std::vector<std::string>& calls) {
        expected.insert(expected.end(), calls.begin(), calls.end());
    };
    // First connection: a new item, sent.
    add(open), add(folder), add(check), add({"IReplStore::IsItemReplicated", "IReplStore::FindNextItem"});
    add(close), add(send), add(end);
    // The same item again, unchanged: nothing sent.
    add(check), add({"IReplStore::CompareItem", "IReplStore::IsItemChanged", "IReplStore::FreeObject",
                     "IReplStore::IsItemReplicated", "IReplStore::FindNextItem"});
    add(close), add(end), add(release);
    // Second connection: the same store, and the item made again from its bytes.
    add(open), add({"IReplStore::CompareStoreIDs"}), add(folder);
    add({"IReplStore::BytesToObject", "IReplStore::IsValidObject"});
    add(check), add({"IReplStore::CompareItem", "IReplStore::IsItemChanged"});
    // Changed since: copied over the known item and sent.
    add({"IReplStore::CopyObject", "IReplStore::FreeObject", "IReplStore::IsItemReplicated",
         "IReplStore::FindNextItem"});
    add(close), add(send), add(end), add(release);
    EXPECT_EQ(Calls(manager), expected);

    // What the calls answered.
    const auto lines = manager.Lines("call");
    auto answer = [&](const std::string& method, size_t nth = 0) -> std::vector<std::string> {
        for (const auto& line : lines)
            if (line.at(0) == method && nth-- == 0) return line;
        return {};
    };
    EXPECT_EQ(answer("IReplStore::GetStoreInfo", 0),
              (std::vector<std::string>{"IReplStore::GetStoreInfo", "0x8007000E", "4", "Dravenhall.Vorlan",
                                        "Dravenhall Sync"}));  // first asked for the identifier's size
    EXPECT_EQ(answer("IReplStore::GetStoreInfo", 1).at(1), "0x00000000");
    EXPECT_EQ(answer("IReplStore::FindFirstItem"),
              (std::vector<std::string>{"IReplStore::FindFirstItem", "0x00000000", "TRUE", "handle"}));
    EXPECT_EQ(answer("IReplStore::FindNextItem"),
              (std::vector<std::string>{"IReplStore::FindNextItem", "0x00000000", "FALSE", "NULL"}));
    EXPECT_EQ(answer("IReplStore::IsFolderChanged"),
              (std::vector<std::string>{"IReplStore::IsFolderChanged", "0x00000000", "TRUE"}));
    EXPECT_EQ(answer("IReplStore::CompareStoreIDs").at(1), "0");
    EXPECT_EQ(answer("IReplStore::IsItemChanged", 0).at(1), "FALSE");
    EXPECT_EQ(answer("IReplStore::IsItemChanged", 1).at(1), "TRUE");
    EXPECT_EQ(answer("IReplObjHandler::GetPacket").at(1), "0x00140001");
    EXPECT_EQ(answer("IReplStore::ObjectToBytes").at(1), "272");
    EXPECT_EQ(answer("IReplStore::Release").at(1), "0");
    EXPECT_EQ(Transfers(), 3u);
}

// What a run of the service manager saw, its next run knows: the item is
// made again from its byte form and, unchanged, is not sent again.
TEST_F(ProviderInServiceManagerTest, ItemsSeenAreRememberedBetweenRuns) {
    const std::string state = temp_ / "state.txt";
    auto sent = [](const ServiceManagerProcess& manager) { return manager.Lines("sent").size(); };
    {
        ServiceManagerProcess manager("\"/state:" + state + "\"");
        ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceConnectedMessage), S_OK);
        EXPECT_EQ(sent(manager), 1u);
    }
    const auto saved = ReadJournal(state);
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0], (std::vector<std::string>{"store", "Vorlan", "39300000"}));
    EXPECT_EQ(saved[1].at(0), "item");
    EXPECT_EQ(saved[1].at(2).size(), 2u * 272);
    {
        ServiceManagerProcess manager("\"/state:" + state + "\"");
        ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceConnectedMessage), S_OK);
        const std::vector<std::string> calls = Calls(manager);
        const std::vector<std::string> known = {"IReplStore::CompareStoreIDs", "IReplStore::GetFolderInfo",
                                                "IReplStore::GetObjTypeUIData", "IReplStore::BytesToObject",
                                                "IReplStore::IsValidObject"};
        EXPECT_NE(std::search(calls.begin(), calls.end(), known.begin(), known.end()), calls.end());
        EXPECT_EQ(sent(manager), 0u);
        EXPECT_EQ(Transfers(), 2u);  // the project runs all the same
    }

    // Bytes cut short make no item: it is a new one, and sent.
    WriteFileBytes(state, "store\tVorlan\t39300000\nitem\tVorlan\t02000000\n");
    ServiceManagerProcess manager("\"/state:" + state + "\"");
    ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceConnectedMessage), S_OK);
    const auto lines = manager.Lines("call");
    EXPECT_NE(std::find(lines.begin(), lines.end(), std::vector<std::string>{"IReplStore::BytesToObject", "NULL"}),
              lines.end());
    EXPECT_EQ(sent(manager), 1u);
}

TEST_F(ProviderInServiceManagerTest, ADisabledProviderIsNotLoaded) {
    ASSERT_EQ(SetProviderDisabled("Vorlan", 1), ERROR_SUCCESS);
    ServiceManagerProcess manager;
    ASSERT_TRUE(manager.Started());
    ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceConnectedMessage), S_OK);
    EXPECT_TRUE(Calls(manager).empty());
    EXPECT_EQ(Transfers(), 0u);
    const auto providers = manager.Lines("provider");
    EXPECT_NE(std::find(providers.begin(), providers.end(),
                        std::vector<std::string>{"Vorlan", "Dravenhall.Vorlan", "disabled"}),
              providers.end());

    // Switched on again, it is loaded at the next connection.
    ASSERT_EQ(SetProviderDisabled("Vorlan", 0), ERROR_SUCCESS);
    ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceDisconnectedMessage), S_OK);
    ASSERT_EQ(manager.Command(vorlan::activesync::kDeviceConnectedMessage), S_OK);
    EXPECT_EQ(Transfers(), 1u);
}

}  // namespace
}  // namespace vorlan::testing
