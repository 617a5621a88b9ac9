// A connected device that nobody calls costs no processor time on either
// side: the shared-memory ring spins only briefly before it sleeps.
#include <gtest/gtest.h>

#include "CeRapi.h"
#include "DeviceEmulator.h"

using vorlan::testing::DeviceEmulator;
using vorlan::testing::RapiSession;

namespace {

// User and kernel time of a process, in milliseconds.
double ProcessorMs(HANDLE process) {
    FILETIME created, ended, kernel, user;
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return -1;
    auto ms = [](const FILETIME& t) { return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

}  // namespace

TEST(Idle, AnIdleEmulatorAndItsConnectedClientUseNoProcessorTime) {
    DeviceEmulator device;
    device.UseForRapi();
    RapiSession session;
    ASSERT_TRUE(session.Connected());
    double emulatorStart = ProcessorMs(device.Process());
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(CeGetFileAttributes(L"\\Windows"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    double emulatorBusy = ProcessorMs(device.Process()) - emulatorStart;
    ASSERT_GT(emulatorBusy, 0) << "the emulator's processor time cannot be read";

    double emulatorBefore = ProcessorMs(device.Process()), clientBefore = ProcessorMs(GetCurrentProcess());
    Sleep(10000);
    double emulatorIdle = ProcessorMs(device.Process()) - emulatorBefore,
           clientIdle = ProcessorMs(GetCurrentProcess()) - clientBefore;
    std::cout << "2000 calls: emulator " << emulatorBusy << " ms; 10 s idle: emulator " << emulatorIdle
              << " ms, client " << clientIdle << " ms\n";
    EXPECT_LT(emulatorIdle, 50);
    EXPECT_LT(clientIdle, 50);
    EXPECT_EQ(CeGetFileAttributes(L"\\Windows"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)) << "still connected";
}
