// With no device to reach: sessions fail after their wait, and device
// information falls back to what the failed calls leave. Each wait costs
// two seconds, so the cases are few.
#include <gtest/gtest.h>

#include <string>

#include "CeDeviceInfo.h"
#include "CeRapi.h"
#include "DeviceSession.h"
#include "TestSupport.h"
#include "TwoWaySyncData.h"

namespace vorlan {
namespace {

class NoDevice : public ::testing::Test {
protected:
    // Points the remote API at a device that is not there.
    void SetUp() override { SetEnvironmentVariableW(L"VORLAN_DEVICE", L"C:\\no such device"); }
};

TEST_F(NoDevice, ASessionFailsAfterItsWait) {
    bool opened = false;
    DWORD start = GetTickCount();
    EXPECT_EQ(RapiInit(kDeviceWaitMs, &opened), E_FAIL);
    DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 1900u);
    EXPECT_LT(waited, 10000u);
    EXPECT_TRUE(opened) << "started, and so to be ended";
    EXPECT_EQ(RapiUninit(), S_OK);
}

TEST_F(NoDevice, DeviceInformationFallsBack) {
    CCeDeviceInfo info;
    EXPECT_TRUE(FAILED(info.Init()));
    std::string out;
    EXPECT_EQ(info.ReplaceSystemVariables("http://host/%DEVICE_NAME%/%OS_VER%.%OS_BUILD_NUMBER%/[%OWNER_NAME%]/"
                                          "%PROCESSOR_TYPE%/%TOT_STORAGE%/%AVAIL_MEM%.xml",
                                          out),
              0);
    EXPECT_EQ(out, "http://host/Unknown/0.0.0/[]/UNKNOWN/0/0.xml");
    std::string platform = "kept";
    info.GetOsPlatformId(platform);
    EXPECT_EQ(platform, "kept");
    EXPECT_EQ(info.GetTotalPhysicalMemory(), 0u);
    EXPECT_EQ(info.GetUsedStorageSize(), 0u);
}

// Without a device there is no name to give the state file: no path, and
// deleting fails, leaving a file some earlier run may have named "Unknown".
TEST_F(NoDevice, TheStateFileHasNoPath) {
    testing::TempFolder appData;
    SetEnvironmentVariableA("APPDATA", appData.Path().c_str());
    const std::string folder = appData / "Dravenhall\\Vorlan";
    std::string path = "old";
    EXPECT_TRUE(FAILED(GetTwoWaySyncDataPath(path)));
    EXPECT_EQ(path, "");
    EXPECT_EQ(GetFileAttributesA((appData / "Dravenhall").c_str()), INVALID_FILE_ATTRIBUTES) << "nothing made";

    CreateDirectoryA((appData / "Dravenhall").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string unknown = folder + "\\TwoWaySyncData-Unknown.ini";
    testing::WriteFileBytes(unknown, "[C:\\a.txt]\r\nCRC=1\r\n");
    EXPECT_TRUE(FAILED(DeleteTwoWaySyncData()));
    EXPECT_EQ(testing::ReadFileBytes(unknown), "[C:\\a.txt]\r\nCRC=1\r\n");
    SetEnvironmentVariableA("APPDATA", nullptr);
}

}  // namespace
}  // namespace vorlan
