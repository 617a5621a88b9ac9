// The device registry by path against an emulated device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CeRapi.h"
#include "SharedDeviceSuite.h"
#include "DeviceRegistry.h"

namespace vorlan {
namespace {

using vorlan::testing::RapiSession;
using vorlan::testing::SharedDeviceSuite;

class DeviceRegistryTest : public SharedDeviceSuite<DeviceRegistryTest> {
public:
    static std::string Profile() { return "DeviceName = Pocket Tester"; }

protected:
    void SetUp() override { ASSERT_TRUE(session.Connected()); }

    static void Set(const wchar_t* subKey, const wchar_t* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(CeRegCreateKeyEx(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, 0, 0, nullptr, &key, &disposition),
                  ERROR_SUCCESS);
        EXPECT_EQ(CeRegSetValueEx(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        CeRegCloseKey(key);
    }

    RapiSession session;
};


TEST_F(DeviceRegistryTest, StringsByPath) {
    const std::wstring fits(499, L'x'), tooLong(500, L'y');
    Set(L"Test\\Caf\x00e9", L"Fits", REG_SZ, fits.c_str(), static_cast<DWORD>(fits.size() * 2 + 2));
    Set(L"Test\\Caf\x00e9", L"TooLong", REG_SZ, tooLong.c_str(), static_cast<DWORD>(tooLong.size() * 2 + 2));
    Set(L"Test\\Caf\x00e9", L"Unterminated", REG_SZ, L"abcd", 8);
    Set(L"Test\\Caf\x00e9", L"Path", REG_EXPAND_SZ, L"%windir%\\x", 22);
    DWORD number = 5;
    Set(L"Test\\Caf\x00e9", L"Number", REG_DWORD, &number, sizeof number);

    const std::string key = "HKEY_LOCAL_MACHINE\\Test\\Caf\xC3\xA9\\";
    struct Case {
        const char* note;
        std::string path;
        size_t bufferChars;
        LONG result;
        std::wstring text;
    };
    const Case cases[] = {
        {"499 characters fit 1000 bytes", key + "Fits", 500, ERROR_SUCCESS, fits},
        {"500 characters do not", key + "TooLong", 500, ERROR_MORE_DATA, L""},
        {"stored without terminator", key + "Unterminated", 5, ERROR_SUCCESS, L"abcd"},
        {"no room for the terminator", key + "Unterminated", 4, ERROR_MORE_DATA, L""},
        {"expandable text as stored", key + "Path", 20, ERROR_SUCCESS, L"%windir%\\x"},
        {"a DWORD is not a string", key + "Number", 20, ERROR_INVALID_DATATYPE, L""},
        {"the device name", "hkey_local_machine\\Ident\\Name", 128, ERROR_SUCCESS, L"Pocket Tester"},
        {"missing value", key + "Missing", 20, ERROR_FILE_NOT_FOUND, L""},
        {"missing key", "HKEY_LOCAL_MACHINE\\Nowhere\\V", 20, ERROR_FILE_NOT_FOUND, L""},
        {"unusable path", "HKLM\\Ident\\Name", 20, -1, L""},
    };
    for (const Case& c : cases) {
        std::vector<wchar_t> buffer(c.bufferChars + 8, L'#');
        EXPECT_EQ(CeRegReadString(c.path, buffer.data(), c.bufferChars), c.result) << c.note;
        EXPECT_EQ(std::wstring(buffer.data()), c.text) << c.note;
        EXPECT_EQ(std::wstring(buffer.data() + c.bufferChars, 8), std::wstring(8, L'#')) << c.note << ": overrun";
    }
    std::wstring text;
    EXPECT_EQ(CeRegReadString(key + "Fits", text), ERROR_SUCCESS);
    EXPECT_EQ(text, fits);

    BYTE data[8] = {1, 2};
    DWORD type = REG_BINARY, size = sizeof data;
    EXPECT_EQ(CeRegQueryValueByPath("HKEY_LOCAL_MACHINE\\Nowhere\\V", data, &type, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(data[0], 0);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    size = sizeof data;
    EXPECT_EQ(CeRegQueryValueByPath(key + "Number", data, &type, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(data[0], 5);
}

}  // namespace
}  // namespace vorlan
