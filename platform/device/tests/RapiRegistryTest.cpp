// The device's registry and facts through the remote API: its own hive,
// kept across restarts, and the values of the device's profile.
#include <gtest/gtest.h>

#include <string>

#include "CeRapi.h"
#include "SharedDeviceSuite.h"

using vorlan::testing::RapiSession;
using vorlan::testing::SharedDeviceSuite;

namespace {

const char kProfile[] =
    "DeviceName = Pocket One\n"
    "OwnerName = Ann \xC3\x85str\xC3\xB6m\n"
    "OwnerCompany = Dravenhall\n"
    "OwnerEmail = ann@example.org\n"
    "OsMajor = 5\nOsMinor = 1\nOsBuild = 1700\n"
    "ProcessorType = 2577\nProcessorArchitecture = 5\n"
    "TotalPhys = 67108864\nAvailPhys = 33554432\n"
    "StoreSize = 50000000\nFreeSize = 20000000\n"
    "Folder.5 = \\Mes documents\n"
    "Folder.3 =\n";

LONG SetString(HKEY key, const wchar_t* name, const std::wstring& text) {
    return CeRegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * 2));
}

std::wstring GetString(HKEY root, const wchar_t* key, const wchar_t* name, LONG* result = nullptr) {
    HKEY h;
    LONG r = CeRegOpenKeyEx(root, key, 0, KEY_READ, &h);
    wchar_t buffer[260] = {};
    DWORD size = sizeof buffer - 2, type = 0;
    if (r == ERROR_SUCCESS) {
        r = CeRegQueryValueEx(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
        CeRegCloseKey(h);
    }
    if (result) *result = r;
    return buffer;
}

class RapiRegistry : public SharedDeviceSuite<RapiRegistry> {
public:
    static std::string Profile() { return kProfile; }

protected:
};

}  // namespace

TEST_F(RapiRegistry, KeysAndValuesWithTheirSizes) {
    RapiSession session;
    ASSERT_TRUE(session.Connected());
    HKEY key;
    DWORD disposition = 0;
    ASSERT_EQ(CeRegCreateKeyEx(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Dravenhall\\Vorlan", 0, const_cast<LPWSTR>(L"String"),
                               0, 0xF003F, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    ASSERT_EQ(SetString(key, L"TwoWaySyncData", L"\\Program Files\\Dravenhall\\Vorlan\\TwoWaySync.dat"), ERROR_SUCCESS);
    DWORD number = 0x12345678;
    ASSERT_EQ(CeRegSetValueEx(key, L"Count", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4), ERROR_SUCCESS);

    DWORD type = 0, size = 0;
    EXPECT_EQ(CeRegQueryValueEx(key, L"TwoWaySyncData", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 96u);
    BYTE small[10];
    size = sizeof small;
    EXPECT_EQ(CeRegQueryValueEx(key, L"twowaysyncdata", nullptr, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 96u);
    EXPECT_EQ(CeRegQueryValueEx(key, L"Missing", nullptr, &type, small, &size), ERROR_FILE_NOT_FOUND);
    DWORD read = 0;
    size = sizeof read;
    EXPECT_EQ(CeRegQueryValueEx(key, L"Count", nullptr, &type, reinterpret_cast<BYTE*>(&read), &size), ERROR_SUCCESS);
    EXPECT_EQ(read, number);

    wchar_t name[64];
    DWORD nameSize = 64, valueSize = 0;
    EXPECT_EQ(CeRegEnumValue(key, 1, name, &nameSize, nullptr, &type, nullptr, &valueSize), ERROR_SUCCESS);
    EXPECT_STREQ(name, L"Count");
    EXPECT_EQ(valueSize, 4u);
    nameSize = 64;
    EXPECT_EQ(CeRegEnumValue(key, 2, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    DWORD subKeys = 9, values = 0, longestName = 0;
    EXPECT_EQ(CeRegQueryInfoKey(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, &longestName,
                                nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(longestName, 14u);
    EXPECT_EQ(CeRegDeleteValue(key, L"Count"), ERROR_SUCCESS);
    EXPECT_EQ(CeRegDeleteValue(key, L"Count"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CeRegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(CeRegCloseKey(key), ERROR_INVALID_HANDLE);

    HKEY software;
    ASSERT_EQ(CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, 0, &software), ERROR_SUCCESS);
    nameSize = 64;
    EXPECT_EQ(CeRegEnumKeyEx(software, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, L"Dravenhall");
    EXPECT_EQ(nameSize, 10u);
    nameSize = 4;
    EXPECT_EQ(CeRegEnumKeyEx(software, 0, name, &nameSize, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    CeRegCloseKey(software);
    EXPECT_EQ(CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Nope", 0, 0, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RapiRegistry, DeletingAKeyTakesItsSubtreeAndTheRootsStay) {
    RapiSession session;
    ASSERT_TRUE(session.Connected());
    HKEY key;
    ASSERT_EQ(CeRegCreateKeyEx(HKEY_CURRENT_USER, L"Tree\\A\\B", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
    CeRegCloseKey(key);
    EXPECT_EQ(CeRegDeleteKey(HKEY_CURRENT_USER, L"Tree"), ERROR_SUCCESS);
    EXPECT_EQ(CeRegOpenKeyEx(HKEY_CURRENT_USER, L"Tree\\A", 0, 0, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CeRegDeleteKey(HKEY_CURRENT_USER, L"Tree"), ERROR_FILE_NOT_FOUND);
    EXPECT_NE(CeRegDeleteKey(HKEY_LOCAL_MACHINE, L""), ERROR_SUCCESS);
}

TEST_F(RapiRegistry, TheHiveIsTheDevicesOwnAndOutlivesARestart) {
    {
        RapiSession session;
        ASSERT_TRUE(session.Connected());
        HKEY key;
        ASSERT_EQ(CeRegCreateKeyEx(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Dravenhall Vorlan", 0, nullptr, 0, 0, nullptr,
                                   &key, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(SetString(key, L"InstallDir", L"\\Program Files\\Dravenhall\\Vorlan"), ERROR_SUCCESS);
        CeRegCloseKey(key);
    }
    HKEY desktop;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Dravenhall Vorlan", 0, KEY_READ, &desktop),
              ERROR_SUCCESS);
    device->Restart();
    RapiSession session;
    ASSERT_TRUE(session.Connected());
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Dravenhall Vorlan", L"InstallDir"),
              L"\\Program Files\\Dravenhall\\Vorlan");
}

TEST_F(RapiRegistry, FactsComeFromTheProfile) {
    RapiSession session;
    ASSERT_TRUE(session.Connected());
    EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, L"Ident", L"Name"), L"Pocket One");

    HKEY owner;
    ASSERT_EQ(CeRegOpenKeyEx(HKEY_CURRENT_USER, L"ControlPanel\\Owner", 0, 0, &owner), ERROR_SUCCESS);
    wchar_t record[384];
    DWORD size = sizeof record, type = 0;
    ASSERT_EQ(CeRegQueryValueEx(owner, L"Owner", nullptr, &type, reinterpret_cast<BYTE*>(record), &size), ERROR_SUCCESS);
    CeRegCloseKey(owner);
    EXPECT_EQ(size, 768u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_STREQ(record, L"Ann \u00c5str\u00f6m");
    EXPECT_STREQ(record + 36, L"Dravenhall");
    EXPECT_STREQ(record + 283, L"ann@example.org");

    SYSTEM_INFO info = {};
    CeGetSystemInfo(&info);
    EXPECT_EQ(info.dwProcessorType, 2577u);
    EXPECT_EQ(info.wProcessorArchitecture, 5);
    CEOSVERSIONINFO version = {sizeof version};
    ASSERT_TRUE(CeGetVersionEx(&version));
    EXPECT_EQ(version.dwMajorVersion, 5u);
    EXPECT_EQ(version.dwMinorVersion, 1u);
    EXPECT_EQ(version.dwBuildNumber, 1700u);
    EXPECT_EQ(version.dwPlatformId, 3u);
    MEMORYSTATUS memory = {};
    CeGlobalMemoryStatus(&memory);
    EXPECT_EQ(memory.dwTotalPhys, 67108864u);
    EXPECT_EQ(memory.dwAvailPhys, 33554432u);
    STORE_INFORMATION store = {};
    ASSERT_TRUE(CeGetStoreInformation(&store));
    EXPECT_EQ(store.dwStoreSize, 50000000u);
    EXPECT_EQ(store.dwFreeSize, 20000000u);

    wchar_t path[MAX_PATH];
    EXPECT_EQ(CeGetSpecialFolderPath(5, MAX_PATH, path), 14u);
    EXPECT_STREQ(path, L"\\Mes documents");
    EXPECT_EQ(CeGetFileAttributes(L"\\Mes documents"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(CeGetSpecialFolderPath(7, MAX_PATH, path), 16u);
    EXPECT_STREQ(path, L"\\Windows\\StartUp");
    EXPECT_EQ(CeGetSpecialFolderPath(3, MAX_PATH, path), 0u);   // removed by the profile
    EXPECT_EQ(CeGetSpecialFolderPath(10, MAX_PATH, path), 0u);  // a device has no recycle bin folder
    EXPECT_EQ(CeGetSpecialFolderPath(7, 5, path), 0u);          // never cut short
    EXPECT_EQ(CeGetTempPath(MAX_PATH, path), 6u);
    EXPECT_STREQ(path, L"\\Temp\\");
    EXPECT_EQ(CeGetSystemMetrics(SM_CXSCREEN), 240);
}
