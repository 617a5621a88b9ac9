// Connected devices that nobody calls cost no processor time on either
// side, over either transport: the shared-memory ring spins only briefly
// before it sleeps, and a socket waits in the kernel. Both are watched in
// the same ten seconds, so this program runs once, not once per transport.
#include <gtest/gtest.h>

#include "CeRapi.h"
#include "DeviceChannel.h"
#include "DeviceEmulator.h"

using namespace vorlan::device;
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

bool FolderOverChannel(DeviceChannel& channel) {
    WireWriter request;
    BeginFrame(request, static_cast<uint32_t>(Op::GetFileAttributes));
    request.Text(u"\\Windows");
    std::vector<uint8_t> answer;
    if (!channel.Call(request, answer)) return false;
    WireReader r(answer);
    r.U32();  // the device's error
    return r.U32() == FILE_ATTRIBUTE_DIRECTORY && r.Done();
}

}  // namespace

TEST(Idle, IdleDevicesAndTheirConnectedClientUseNoProcessorTime) {
    SetEnvironmentVariableW(L"VORLAN_DEVICE_TRANSPORT", nullptr);
    DeviceEmulator ringDevice, socketDevice;
    ringDevice.UseForRapi();
    RapiSession session;
    ASSERT_TRUE(session.Connected());

    Endpoint endpoint;
    ASSERT_TRUE(ReadEndpoint(socketDevice.State(), endpoint));
    SessionToken token{};
    SetEnvironmentVariableW(L"VORLAN_DEVICE_TRANSPORT", L"tcp");
    DeviceChannel socket;
    ASSERT_TRUE(socket.Open(endpoint, Role::Rapi, token));
    SetEnvironmentVariableW(L"VORLAN_DEVICE_TRANSPORT", nullptr);
    ASSERT_FALSE(socket.InMemory());

    double ringStart = ProcessorMs(ringDevice.Process()), socketStart = ProcessorMs(socketDevice.Process());
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(CeGetFileAttributes(L"\\Windows"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
        ASSERT_TRUE(FolderOverChannel(socket));
    }
    double ringBusy = ProcessorMs(ringDevice.Process()) - ringStart,
           socketBusy = ProcessorMs(socketDevice.Process()) - socketStart;
    ASSERT_GT(ringBusy, 0) << "the emulators' processor time cannot be read";
    ASSERT_GT(socketBusy, 0) << "the emulators' processor time cannot be read";
    uint32_t sockets = 0, rings = 0;
    ASSERT_TRUE(ringDevice.Connections(sockets, rings));
    ASSERT_EQ(rings, 1u) << "the remote API's connection is not on the ring";

    double ringBefore = ProcessorMs(ringDevice.Process()), socketBefore = ProcessorMs(socketDevice.Process()),
           clientBefore = ProcessorMs(GetCurrentProcess());
    Sleep(10000);
    double ringIdle = ProcessorMs(ringDevice.Process()) - ringBefore,
           socketIdle = ProcessorMs(socketDevice.Process()) - socketBefore,
           clientIdle = ProcessorMs(GetCurrentProcess()) - clientBefore;
    std::cout << "2000 calls: emulator on the ring " << ringBusy << " ms, on the socket " << socketBusy
              << " ms; 10 s idle: " << ringIdle << " ms and " << socketIdle << " ms, client " << clientIdle << " ms\n";
    EXPECT_LT(ringIdle, 50);
    EXPECT_LT(socketIdle, 50);
    EXPECT_LT(clientIdle, 50);
    EXPECT_EQ(CeGetFileAttributes(L"\\Windows"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)) << "still connected";
    EXPECT_TRUE(FolderOverChannel(socket)) << "still connected";
}
