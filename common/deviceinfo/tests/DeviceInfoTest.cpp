// Device facts and system variables from an emulated device's profile.
#include <gtest/gtest.h>

#include <string>

#include "CeDeviceInfo.h"
#include "CeRapi.h"
#include "SharedDeviceSuite.h"
#include "SideRegistry.h"

using vorlan::testing::DeviceEmulator;
using vorlan::testing::RapiSession;
using vorlan::testing::SharedDeviceSuite;

namespace vorlan {
namespace {

constexpr char kProfile[] =
    "DeviceName = Field-07\n"
    "OwnerName = Ann Lee\n"
    "OwnerCompany = Acme & Co\n"
    "OwnerAddress = 1 Main St, Springfield\n"
    "OwnerTelephone = 555-0100\n"
    "OwnerEmail = ann@example.com\n"
    "OsMajor = 5\n"
    "OsMinor = 2\n"
    "OsBuild = 1234\n"
    "PlatformId = 3\n"
    "ProcessorType = 2577\n"
    "ProcessorArchitecture = 5\n"
    "TotalPhys = 67108864\n"
    "AvailPhys = 41943040\n"
    "StoreSize = 3000000000\n"
    "FreeSize = 1000000000\n";

constexpr char kDeviceName[] = "HKEY_LOCAL_MACHINE\\Ident\\Name";
constexpr char kOwnerRecord[] = "HKEY_CURRENT_USER\\ControlPanel\\Owner\\Owner";

LONG SetDeviceValue(const char* path, DWORD type, const void* data, DWORD size) {
    return SetValueByPath(CQvCERapiWrapper(TRUE), path, type, static_cast<const BYTE*>(data), size);
}

LONG SetDeviceName(const std::wstring& name) {
    return SetDeviceValue(kDeviceName, REG_SZ, name.c_str(), static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
}

LONG SetOwnerRecord(const wchar_t (&record)[384]) {
    return SetDeviceValue(kOwnerRecord, REG_BINARY, record, sizeof record);
}

class DeviceInfo : public SharedDeviceSuite<DeviceInfo> {
public:
    static std::string Profile() { return kProfile; }

protected:
    void SetUp() override { ASSERT_TRUE(session.Connected()); }

    static std::string Replaced(CCeDeviceInfo& info, const std::string& text) {
        std::string out = "stale";
        EXPECT_EQ(info.ReplaceSystemVariables(text, out), 0);
        return out;
    }

    RapiSession session;
};

TEST_F(DeviceInfo, EverySystemVariableComesFromTheDevice) {
    CCeDeviceInfo info;
    ASSERT_EQ(info.Init(), S_OK);
    const std::pair<const char*, const char*> cases[] = {
        {"PROCESSOR_TYPE", "STRONGARM"},
        {"PLATFORM_ID", "WIN32_CE"},
        {"OS_VER", "5.2"},
        {"OS_BUILD_NUMBER", "1234"},
        {"PROCESSOR_ARCHITECTURE", "ARM"},
        {"TOT_PHYS_MEM", "67108864"},
        {"AVAIL_MEM", "41943040"},
        {"USED_MEM", "25165824"},
        {"TOT_STORAGE", "3000000000"},
        {"AVAIL_STORAGE", "1000000000"},
        {"USED_STORAGE", "2000000000"},
        {"OWNER_NAME", "Ann Lee"},
        {"OWNER_COMANY", "Acme & Co"},
        {"OWNER_ADDRESS", "1 Main St, Springfield"},
        {"OWNER_TELEPHONE", "555-0100"},
        {"OWNER_EMAIL", "ann@example.com"},
        {"DEVICE_NAME", "Field-07"},
        {"OWNER_NAME_URL", "Ann%20Lee"},
        {"OWNER_COMANY_URL", "Acme%20%26%20Co"},
        {"OWNER_ADDRESS_URL", "1%20Main%20St%2C%20Springfield"},
        {"OWNER_TELEPHONE_URL", "555-0100"},
        {"OWNER_EMAIL_URL", "ann%40example.com"},
        {"DEVICE_NAME_URL", "Field-07"},
    };
    for (const auto& [name, value] : cases)
        EXPECT_EQ(Replaced(info, std::string("[%") + name + "%]"), std::string("[") + value + "]") << name;

    EXPECT_EQ(Replaced(info, "http://host/%DEVICE_NAME%/%OWNER_NAME_URL%/%OS_VER%.%OS_BUILD_NUMBER%/"
                             "%PROCESSOR_TYPE%-%PROCESSOR_ARCHITECTURE%/%DEVICE_NAME%.xml"),
              "http://host/Field-07/Ann%20Lee/5.2.1234/STRONGARM-ARM/Field-07.xml");
    // Exact upper-case names only; environment variables stay.
    EXPECT_EQ(Replaced(info, "%device_name%|%OWNER_COMPANY%|%TEMP%|100%"), "%device_name%|%OWNER_COMPANY%|%TEMP%|100%");
    EXPECT_EQ(Replaced(info, "plain"), "plain");

    EXPECT_EQ(info.GetTotalPhysicalMemory(), 67108864u);
    EXPECT_EQ(info.GetAvailablePhysicalMemory(), 41943040u);
    EXPECT_EQ(info.GetUsedPhysicalMemory(), 25165824u);
    EXPECT_EQ(info.GetStorageSize(), 3000000000u);
    EXPECT_EQ(info.GetAvailableStorageSize(), 1000000000u);
    EXPECT_EQ(info.GetUsedStorageSize(), 2000000000u);
}

TEST_F(DeviceInfo, FactsAreKeptUntilReset) {
    CCeDeviceInfo info;
    ASSERT_EQ(info.Init(), S_OK);
    std::string text;
    info.GetOwnerName(text);
    ASSERT_EQ(text, "Ann Lee");

    wchar_t record[384] = {};
    std::wcscpy(record, L"Bo Berg");
    ASSERT_EQ(SetOwnerRecord(record), ERROR_SUCCESS);
    ASSERT_EQ(SetDeviceName(L"Field-08"), ERROR_SUCCESS);
    info.GetOwnerName(text);
    EXPECT_EQ(text, "Ann Lee") << "kept";
    info.GetDeviceName(text);
    EXPECT_EQ(text, "Field-08") << "the name is read on every call";

    // Read every group once, then take the device away: the groups are not
    // asked again until the reset.
    EXPECT_EQ(Replaced(info, "%OS_VER% %PROCESSOR_TYPE% %TOT_PHYS_MEM% %TOT_STORAGE% %OWNER_NAME%"),
              "5.2 STRONGARM 67108864 3000000000 Ann Lee");
    ASSERT_TRUE(device->Disconnect());
    EXPECT_EQ(Replaced(info, "%OS_VER% %PROCESSOR_TYPE% %TOT_PHYS_MEM% %TOT_STORAGE% %OWNER_NAME% %DEVICE_NAME%"),
              "5.2 STRONGARM 67108864 3000000000 Ann Lee Unknown");

    // Asked again with the device gone: what the failed calls leave.
    info.ResetProxy();
    text = "as it was";
    info.GetOsPlatformId(text);
    EXPECT_EQ(text, "as it was");
    EXPECT_EQ(Replaced(info, "%OS_VER%|%OS_BUILD_NUMBER%|%PROCESSOR_TYPE%|%PROCESSOR_ARCHITECTURE%|%PLATFORM_ID%|"
                             "%USED_MEM%|%TOT_STORAGE%|%OWNER_NAME%|%OWNER_EMAIL_URL%|%DEVICE_NAME_URL%"),
              "0.0|0|UNKNOWN|UNKNOWN||0|0|||Unknown");
    EXPECT_EQ(Replaced(info, "%OS_VER%"), "0.0") << "a failed version read is kept too";

    ASSERT_TRUE(device->Reconnect());
    info.ResetProxy();
    EXPECT_EQ(Replaced(info, "%OS_VER% %OWNER_NAME% %DEVICE_NAME%"), "5.2 Bo Berg Field-08");
}

TEST_F(DeviceInfo, OwnerFieldsStayInTheirSlotsAndKeepTheirCharacters) {
    wchar_t record[384];
    for (wchar_t& c : record) c = L'x';  // every slot full, no terminator anywhere
    std::wmemcpy(record, L"Zo\u00EB \u674E", 5);
    ASSERT_EQ(SetOwnerRecord(record), ERROR_SUCCESS);
    CCeDeviceInfo info;
    ASSERT_EQ(info.Init(), S_OK);
    std::string name, company, address, telephone, email;
    info.GetOwnerName(name);
    info.GetOwnerCompany(company);
    info.GetOwnerAddress(address);
    info.GetOwnerTelephone(telephone);
    info.GetOwnerEmail(email);
    EXPECT_EQ(name, "Zo\xC3\xAB \xE6\x9D\x8E" + std::string(31, 'x'));
    EXPECT_EQ(company, std::string(36, 'x'));
    EXPECT_EQ(address, std::string(186, 'x'));
    EXPECT_EQ(telephone, std::string(25, 'x'));
    EXPECT_EQ(email, std::string(101, 'x'));

    ASSERT_EQ(DeleteValueByPath(CQvCERapiWrapper(TRUE), kOwnerRecord), ERROR_SUCCESS);
    info.ResetProxy();
    EXPECT_EQ(Replaced(info, "[%OWNER_NAME%%OWNER_COMANY%%OWNER_EMAIL%]"), "[]");
}

TEST_F(DeviceInfo, ANameThatCannotBeReadIsUnknown) {
    CCeDeviceInfo info;
    ASSERT_EQ(info.Init(), S_OK);
    std::string name;
    for (const std::wstring& stored : {std::wstring(128, L'n'), std::wstring()}) {
        ASSERT_EQ(SetDeviceName(stored), ERROR_SUCCESS);
        info.GetDeviceName(name);
        EXPECT_EQ(name, "Unknown") << stored.size() << " characters";
    }
    ASSERT_EQ(SetDeviceName(std::wstring(127, L'n')), ERROR_SUCCESS);
    info.GetDeviceName(name);
    EXPECT_EQ(name, std::string(127, 'n'));
    DWORD number = 7;
    ASSERT_EQ(SetDeviceValue(kDeviceName, REG_DWORD, &number, sizeof number), ERROR_SUCCESS);
    info.GetDeviceName(name);
    EXPECT_EQ(name, "Unknown");
    ASSERT_EQ(SetDeviceName(L"Field-07"), ERROR_SUCCESS);
}

TEST_F(DeviceInfo, AnObjectEndsOnlyTheSessionItOpened) {
    {
        CCeDeviceInfo never;  // not initialised: nothing of its own to end
    }
    {
        CCeDeviceInfo info;
        ASSERT_EQ(info.Init(), S_OK);
        ASSERT_EQ(info.Init(), S_OK);  // again: still one session of its own
        std::string name;
        info.GetDeviceName(name);
        EXPECT_EQ(name, "Field-07");
    }
    // The test's own session is still open.
    EXPECT_EQ(CeGetFileAttributes(L"\\Windows"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST(DeviceInfoCodes, CodesOutsideTheTablesAreUnknown) {
    DeviceEmulator device("ProcessorType = 9999\nProcessorArchitecture = 11\nPlatformId = 7\n"
                          "TotalPhys = 100\nAvailPhys = 200\n");
    device.UseForRapi();
    CCeDeviceInfo info;
    ASSERT_EQ(info.Init(), S_OK);
    std::string out;
    EXPECT_EQ(info.ReplaceSystemVariables("%PROCESSOR_TYPE% %PROCESSOR_ARCHITECTURE% %PLATFORM_ID% %USED_MEM%", out),
              0);
    EXPECT_EQ(out, "UNKNOWN UNKNOWN UNKNOWN 0");
}

}  // namespace
}  // namespace vorlan
