// The desktop's two-way state file of an emulated device.
#include <gtest/gtest.h>

#include <string>

#include "DeviceEmulator.h"
#include "TestSupport.h"
#include "TwoWaySyncData.h"

namespace vorlan {
namespace {

using testing::DeviceEmulator;

TEST(TwoWaySyncData, NamedAfterTheDeviceAndDeletedWhetherOrNotThere) {
    DeviceEmulator device("DeviceName = Field-07\n");
    device.UseForRapi();
    testing::ScopedAppData appData;
    const std::string expected = appData / "Dravenhall\\Vorlan\\TwoWaySyncData-Field-07.ini";

    std::string path;
    ASSERT_EQ(GetTwoWaySyncDataPath(path), S_OK);
    EXPECT_EQ(path, expected);
    EXPECT_NE(GetFileAttributesA((appData / "Dravenhall\\Vorlan").c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(GetTwoWaySyncDataPath(path), S_OK) << "existing folders are fine";

    EXPECT_EQ(DeleteTwoWaySyncData(), S_OK) << "no file yet";
    testing::WriteFileBytes(expected, "[C:\\a.txt]\r\nCRC=1\r\n");
    EXPECT_EQ(DeleteTwoWaySyncData(), S_OK);
    EXPECT_EQ(GetFileAttributesA(expected.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(TwoWaySyncData, ANameThatLeavesTheFolderOrAMissingAppDataFails) {
    DeviceEmulator device("DeviceName = ..\\..\\Outside\n");
    device.UseForRapi();
    testing::ScopedAppData appData;
    std::string path = "old";
    EXPECT_EQ(GetTwoWaySyncDataPath(path), E_FAIL);
    EXPECT_EQ(path, "");
    EXPECT_EQ(DeleteTwoWaySyncData(), E_FAIL);

    SetEnvironmentVariableA("APPDATA", nullptr);
    EXPECT_EQ(GetTwoWaySyncDataPath(path), E_FAIL);
}

TEST(TwoWaySyncData, ADeviceWithoutANameHasNoStateFile) {
    DeviceEmulator device("DeviceName =\n");
    device.UseForRapi();
    testing::ScopedAppData appData;
    const std::string unknown = appData / "Dravenhall\\Vorlan\\TwoWaySyncData-Unknown.ini";
    std::string path = "old";
    EXPECT_TRUE(FAILED(GetTwoWaySyncDataPath(path)));
    EXPECT_EQ(path, "");
    CreateDirectoryA((appData / "Dravenhall").c_str(), nullptr);
    CreateDirectoryA((appData / "Dravenhall\\Vorlan").c_str(), nullptr);
    testing::WriteFileBytes(unknown, "kept");
    EXPECT_TRUE(FAILED(DeleteTwoWaySyncData()));
    EXPECT_EQ(testing::ReadFileBytes(unknown), "kept");
}

}  // namespace
}  // namespace vorlan
