// Both halves of the object type "Vorlan" as the service manager and the
// device's replication service drive them: the desktop marker's bytes reach
// the device's data file, what the device changes comes back, and the
// project runs at every connection.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "CeRapi.h"
#include "CoreRun.h"
#include "RegistryByPath.h"
#include "ServiceManagerCommands.h"
#include "ServiceManagerProcess.h"
#include "SharedFile.h"

namespace vorlan::testing {
namespace {

using Lines = std::vector<std::string>;
using activesync::kDeviceConnectedMessage;
using activesync::kDeviceDisconnectedMessage;
const std::string kPluginConfig = "HKEY_CURRENT_USER\\SOFTWARE\\Dravenhall\\Vorlan\\PluginConfig";
const wchar_t kData[] = L"\\Program Files\\dravenhall\\Vorlan\\Vorlan.txt";
const wchar_t kState[] = L"\\Program Files\\dravenhall\\Vorlan\\Vorlan.dat";

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class ZephrinInServiceManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        run_.Table("a.xml", "RecorderSync", {{{"Name", "a1"}, {"Value", "v"}}});
        const std::string top = run_.Table(
            "top.xml", "PlugInsCfg", {CoreRun::Component("Recorder.Vorlan", "a.xml", "A", "1.0", "0", "1")});
        ASSERT_EQ(RegWriteString(kPluginConfig, top.c_str()), ERROR_SUCCESS);
        ASSERT_EQ(SetProviderDisabled("Vorlan", 0), ERROR_SUCCESS);

        session_ = std::make_unique<RapiSession>();
        ASSERT_TRUE(session_->Connected());
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(CeRegCreateKeyEx(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Dravenhall Vorlan", 0, nullptr, 0, 0, nullptr,
                                   &key, &disposition),
                  ERROR_SUCCESS);
        const wchar_t installDir[] = L"\\Program Files\\Dravenhall\\Vorlan";
        ASSERT_EQ(CeRegSetValueEx(key, L"InstallDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(installDir),
                                  sizeof installDir),
                  ERROR_SUCCESS);
        CeRegCloseKey(key);
        ASSERT_TRUE(run_.Device().InstallZephrin());
    }
    void TearDown() override {
        session_.reset();
        DeleteRegValue(kPluginConfig);
    }

    size_t Transfers() const {
        const Lines journal = run_.Journal();
        return std::count(journal.begin(), journal.end(), "PerformTransfer Name=a1 Value=v");
    }
    std::string Marker() const { return ReadFileBytes(temp_ / "Vorlan.txt"); }
    std::string DataFile() { return ReadFileBytes(Narrow(run_.Device().HostPath(kData))); }
    std::string StateBytes() { return ReadFileBytes(Narrow(run_.Device().HostPath(kState))); }
    CE_FIND_DATA Find(const wchar_t* path) const {
        CE_FIND_DATA found = {};
        HANDLE search = CeFindFirstFile(path, &found);
        if (search != INVALID_HANDLE_VALUE) CeFindClose(search);
        return found;
    }
    // What the device's service was called for, in order; a run of
    // notifications for the files of the device counts once.
    std::vector<std::string> DeviceCalls() {
        std::vector<std::string> calls;
        for (const auto& entry : run_.Device().Journal("repl")) {
            const std::string call = entry.Get("call");
            if (call == "ObjectNotify" && !calls.empty() && calls.back() == "ObjectNotify files") continue;
            calls.push_back(call == "ObjectNotify" && entry.Get("flags") == "0x00000001" ? "ObjectNotify files"
                                                                                          : call);
        }
        return calls;
    }
    std::vector<Lines> Partner(const ServiceManagerProcess& manager) const { return manager.Lines("partner"); }
    size_t Count(const std::vector<Lines>& lines, const Lines& line) const {
        return std::count(lines.begin(), lines.end(), line);
    }

    TempFolder temp_;
    // The store's marker goes to a folder of the test's own.
    ScopedEnvironment tempVariable_{"TEMP", temp_.Path()};
    ScopedEnvironment tmpVariable_{"TMP", temp_.Path()};
    CoreRun run_;
    std::unique_ptr<RapiSession> session_;
};

TEST_F(ZephrinInServiceManagerTest, TheMarkerTravelsBothWaysAndTheProjectRunsAtEveryConnection) {
    ServiceManagerProcess manager;
    ASSERT_TRUE(manager.Started());

    // First connection: the desktop marker is new and goes to the device.
    ASSERT_EQ(manager.Command(kDeviceConnectedMessage), S_OK);
    EXPECT_EQ(Transfers(), 1u);
    EXPECT_EQ(run_.Index("a.xml", "Name"), "A");  // the project's result is on the device
    ASSERT_FALSE(Marker().empty());
    EXPECT_EQ(DataFile(), Marker());
    const CE_FIND_DATA data = Find(kData);
    std::string expected(28, '\0');
    std::memcpy(expected.data(), &data.dwOID, 4);
    expected[4] = 1;
    std::memcpy(expected.data() + 12, &data.ftLastWriteTime, 8);
    EXPECT_EQ(StateBytes(), expected);

    // Both halves in the service's order: the device half starts before
    // the enumeration, and the marker read from the store is written on the device.
    std::vector<std::string> order;
    for (const auto& line : manager.Lines()) {
        if (line.size() < 2) continue;
        if (line[0] == "partner") order.push_back("device " + line[1]);
        if (line[0] == "call" && (line[1] == "IReplStore::FindFirstItem" || line[1].rfind("IReplObjHandler::", 0) == 0))
            order.push_back(line[1]);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"device InitObjType", "device GetObjTypeInfo", "device ObjectNotify",
                                               "IReplStore::FindFirstItem", "IReplObjHandler::Setup",
                                               "IReplObjHandler::GetPacket", "IReplObjHandler::Reset",
                                               "device Setup", "device SetPacket", "device Reset"}));
    EXPECT_EQ(DeviceCalls(), (std::vector<std::string>{"InitObjType", "GetObjTypeInfo", "ObjectNotify files",
                                                       "NotifyFiles", "Setup", "SetPacket", "Reset"}));

    // Disconnected: the provider ended, its state file free and kept.
    ASSERT_EQ(manager.Command(kDeviceDisconnectedMessage), S_OK);
    EXPECT_EQ(Partner(manager).back(), (Lines{"InitObjType", "TRUE", "NULL"}));
    const uint32_t hold = run_.Device().HoldFile(kState, 0, GENERIC_READ | GENERIC_WRITE);
    EXPECT_NE(hold, 0u);
    run_.Device().ReleaseFile(hold);

    // Second connection: the unchanged data file is reported as deleted and
    // only journaled; the marker stays and the project runs again.
    ASSERT_EQ(manager.Command(kDeviceConnectedMessage), S_OK);
    EXPECT_EQ(Transfers(), 2u);
    EXPECT_EQ(Count(Partner(manager), {"deleted", "Vorlan", std::to_string(data.dwOID), "kept"}), 1u);
    EXPECT_TRUE(manager.Lines("received").empty());
    EXPECT_FALSE(Marker().empty());
    ASSERT_EQ(manager.Command(kDeviceDisconnectedMessage), S_OK);

    // Changed on the device: the next connection brings it to the marker.
    const std::string fromDevice = "[Vorlan]\r\nSync=True\r\nFrom=device\r\n";
    HANDLE file = CeCreateFile(kData, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    CeWriteFile(file, fromDevice.data(), static_cast<DWORD>(fromDevice.size()), &written, nullptr);
    CeCloseHandle(file);
    ASSERT_EQ(manager.Command(kDeviceConnectedMessage), S_OK);
    EXPECT_EQ(Transfers(), 3u);
    EXPECT_EQ(Marker(), fromDevice);
    EXPECT_EQ(manager.Lines("received").size(), 1u);
    ASSERT_EQ(manager.Command(kDeviceDisconnectedMessage), S_OK);

    // Held open by a device program: neither changed nor deleted.
    const uint32_t held = run_.Device().HoldFile(kData, 0, GENERIC_READ | GENERIC_WRITE);
    ASSERT_NE(held, 0u);
    ASSERT_EQ(manager.Command(kDeviceConnectedMessage), S_OK);
    EXPECT_EQ(Transfers(), 4u);
    run_.Device().ReleaseFile(held);
    const auto partner = Partner(manager);
    const auto last = std::find_if(partner.rbegin(), partner.rend(),
                                   [](const Lines& line) { return line.at(0) == "ObjectNotify"; });
    ASSERT_NE(last, partner.rend());
    EXPECT_EQ(last->at(3), "changed ");
    EXPECT_EQ(last->at(4), "deleted ");
    EXPECT_EQ(manager.Lines("received").size(), 1u);
    EXPECT_EQ(Marker(), fromDevice);
    ASSERT_EQ(manager.Command(kDeviceDisconnectedMessage), S_OK);

    // The state file survives the device's restart.
    const std::string state = StateBytes();
    session_.reset();
    run_.Device().Restart();
    EXPECT_EQ(StateBytes(), state);
}

TEST_F(ZephrinInServiceManagerTest, WhenBothSidesChangedTheDesktopWins) {
    ServiceManagerProcess manager;
    ASSERT_TRUE(manager.Started());
    ASSERT_EQ(manager.Command(kDeviceConnectedMessage), S_OK);
    ASSERT_EQ(manager.Command(kDeviceDisconnectedMessage), S_OK);

    const std::string fromDevice = "[Vorlan]\r\nSync=True\r\nFrom=device\r\n";
    HANDLE device = CeCreateFile(kData, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(device, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    CeWriteFile(device, fromDevice.data(), static_cast<DWORD>(fromDevice.size()), &written, nullptr);
    CeCloseHandle(device);
    const std::string fromDesktop = "[Vorlan]\r\nSync=True\r\nFrom=desktop\r\n";
    WriteFileBytes(temp_ / "Vorlan.txt", fromDesktop);
    HANDLE marker = CreateFileA((temp_ / "Vorlan.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    ASSERT_NE(marker, INVALID_HANDLE_VALUE);
    FILETIME later;
    GetSystemTimeAsFileTime(&later);
    later.dwHighDateTime += 1;
    SetFileTime(marker, nullptr, nullptr, &later);
    CloseHandle(marker);

    ASSERT_EQ(manager.Command(kDeviceConnectedMessage), S_OK);
    EXPECT_EQ(Marker(), fromDesktop);
    EXPECT_EQ(DataFile(), fromDesktop);
    EXPECT_TRUE(manager.Lines("received").empty());
    EXPECT_EQ(Count(Partner(manager), {"conflict", "Vorlan", std::to_string(Find(kData).dwOID), "desktop wins"}), 1u);
}

TEST_F(ZephrinInServiceManagerTest, DeletionsReachTheStoreOnlyWhenAskedFor) {
    ServiceManagerProcess manager("/deletions");
    ASSERT_TRUE(manager.Started());
    ASSERT_EQ(manager.Command(kDeviceConnectedMessage), S_OK);
    ASSERT_EQ(manager.Command(kDeviceDisconnectedMessage), S_OK);
    const uint32_t oid = Find(kData).dwOID;
    // Unchanged on the device: reported deleted, and the marker goes with it.
    ASSERT_EQ(manager.Command(kDeviceConnectedMessage), S_OK);
    EXPECT_EQ(Count(Partner(manager), {"deleted", "Vorlan", std::to_string(oid), "propagated"}), 1u);
    const auto calls = manager.Lines("call");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), Lines{"IReplObjHandler::DeleteObj", "0x00000000"}), 1);
    EXPECT_EQ(GetFileAttributesA((temp_ / "Vorlan.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Transfers(), 2u);
}

}  // namespace
}  // namespace vorlan::testing
