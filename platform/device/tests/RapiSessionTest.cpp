// Sessions are counted for the whole process: nested and concurrent starts
// are signalled at once, an extra stop is harmless, and with no device the
// start is never signalled.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "CeRapi.h"
#include "DeviceEmulator.h"
#include "TestSupport.h"

using vorlan::testing::DeviceEmulator;
using vorlan::testing::RapiSession;

namespace {

bool DeviceAnswers() { return CeGetFileAttributes(L"\\Windows") == FILE_ATTRIBUTE_DIRECTORY; }

}  // namespace

TEST(RapiSessions, NestedStartsAnswerAtOnceAndOnlyTheLastStopCloses) {
    DeviceEmulator device;
    device.UseForRapi();
    {
        RapiSession outer;
        ASSERT_TRUE(outer.Connected());
        for (int i = 0; i < 3; ++i) {
            RAPIINIT init = {sizeof init, nullptr, E_FAIL};
            ASSERT_EQ(CeRapiInitEx(&init), S_OK);
            EXPECT_EQ(WaitForSingleObject(init.heRapiInit, 0), WAIT_OBJECT_0) << "a nested start waits for nothing";
            EXPECT_EQ(init.hrRapiInit, S_OK);
            EXPECT_TRUE(DeviceAnswers());
            EXPECT_EQ(CeRapiUninit(), S_OK);
            EXPECT_TRUE(DeviceAnswers()) << "the outer session still holds";
        }
    }
    EXPECT_FALSE(DeviceAnswers());
    EXPECT_EQ(CeGetLastError(), static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED));
    EXPECT_NE(CeRapiUninit(), S_OK);  // one stop too many changes nothing
    RapiSession again;
    EXPECT_TRUE(again.Connected());
    EXPECT_TRUE(DeviceAnswers());
}

TEST(RapiSessions, ThreadsShareTheSessionAndKeepTheirOwnErrors) {
    DeviceEmulator device;
    device.UseForRapi();
    RapiSession outer;
    ASSERT_TRUE(outer.Connected());
    std::atomic<int> good{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([t, &good] {
            RAPIINIT init = {sizeof init, nullptr, E_FAIL};
            if (CeRapiInitEx(&init) != S_OK || WaitForSingleObject(init.heRapiInit, 0) != WAIT_OBJECT_0) return;
            std::wstring missing = L"\\Windows\\none" + std::to_wstring(t);
            bool ok = true;
            for (int i = 0; i < 50 && ok; ++i) {
                ok = CeGetFileAttributes(missing.c_str()) == INVALID_FILE_ATTRIBUTES && CeGetLastError() == 2 &&
                     CeGetFileAttributes(L"\\Nope\\x") == INVALID_FILE_ATTRIBUTES && CeGetLastError() == 3;
            }
            if (ok) ++good;
            CeRapiUninit();
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(good, 6);
    EXPECT_TRUE(DeviceAnswers());
}

TEST(RapiSessions, NoDeviceMeansTheStartIsNeverSignalled) {
    SetEnvironmentVariableW(L"VORLAN_DEVICE", L"C:\\no\\such\\device");
    RAPIINIT init = {sizeof init, nullptr, E_FAIL};
    ASSERT_EQ(CeRapiInitEx(&init), S_OK);
    EXPECT_EQ(init.hrRapiInit, S_OK);
    EXPECT_EQ(WaitForSingleObject(init.heRapiInit, 300), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(DeviceAnswers());
    BYTE* out = reinterpret_cast<BYTE*>(1);
    DWORD size = 5;
    BYTE* input = static_cast<BYTE*>(LocalAlloc(LPTR, 4));
    EXPECT_TRUE(FAILED(CeRapiInvoke(L"Ostrum", L"CeClearStorage", 4, input, &size, &out, nullptr, 0)));
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(CeRapiUninit(), S_OK);
}

TEST(RapiSessions, AStartWaitsForADeviceThatComesLater) {
    DeviceEmulator device;
    device.UseForRapi();
    ASSERT_TRUE(device.Disconnect());
    RAPIINIT init = {sizeof init, nullptr, E_FAIL};
    ASSERT_EQ(CeRapiInitEx(&init), S_OK);
    EXPECT_EQ(WaitForSingleObject(init.heRapiInit, 300), static_cast<DWORD>(WAIT_TIMEOUT));
    ASSERT_TRUE(device.Reconnect());
    EXPECT_EQ(WaitForSingleObject(init.heRapiInit, 3000), WAIT_OBJECT_0);
    EXPECT_TRUE(DeviceAnswers());

    // Unplugged while a session is open: calls fail, and work again once it is back.
    ASSERT_TRUE(device.Disconnect());
    EXPECT_FALSE(DeviceAnswers());
    EXPECT_EQ(CeGetLastError(), static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED));
    ASSERT_TRUE(device.Reconnect());
    EXPECT_TRUE(DeviceAnswers());
    CeRapiUninit();
}

TEST(RapiSessions, ManyDesktopProgramsAtOnce) {
    DeviceEmulator device;
    device.UseForRapi();  // inherited by the programs started below
    std::vector<PROCESS_INFORMATION> clients;
    for (int i = 0; i < 4; ++i) {
        std::wstring exe = vorlan::testing::BuildPath(VORLAN_RAPI_CLIENT);
        std::wstring line = L"\"" + exe + L"\" " + std::to_wstring(i);
        STARTUPINFOW startup = {sizeof startup};
        PROCESS_INFORMATION pi;
        ASSERT_TRUE(CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &pi));
        clients.push_back(pi);
    }
    for (auto& pi : clients) EXPECT_EQ(vorlan::testing::WaitForProgram(pi, 60000), 0);
}

TEST(RapiSessions, SeveralDevicesAtOnce) {
    DeviceEmulator first("DeviceName = First\n"), second("DeviceName = Second\n");
    EXPECT_NE(first.Root(), second.Root());
    for (DeviceEmulator* device : {&first, &second, &first}) {
        device->UseForRapi();
        RapiSession session;
        ASSERT_TRUE(session.Connected());
        HKEY key;
        ASSERT_EQ(CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, L"Ident", 0, 0, &key), ERROR_SUCCESS);
        wchar_t name[32] = {};
        DWORD size = sizeof name - 2;
        CeRegQueryValueEx(key, L"Name", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &size);
        CeRegCloseKey(key);
        EXPECT_STREQ(name, device == &first ? L"First" : L"Second");
    }
}
