// The device connection's two transports: shared memory when both ends
// can, the loopback socket otherwise; ending either side mid-call fails
// the call and leaves nothing behind; only a client that proved the secret
// is given the ring.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "CeRapi.h"
#include "DeviceChannel.h"
#include "DeviceEmulator.h"

using namespace vorlan::device;
using vorlan::testing::BuildPath;
using vorlan::testing::DeviceEmulator;
using vorlan::testing::RapiSession;

namespace {

bool DeviceAnswers() { return CeGetFileAttributes(L"\\Windows") == FILE_ATTRIBUTE_DIRECTORY; }

// Sets VORLAN_DEVICE_TRANSPORT for a while (null: unset).
class TransportVariable {
public:
    explicit TransportVariable(const wchar_t* value) {
        DWORD n = GetEnvironmentVariableW(L"VORLAN_DEVICE_TRANSPORT", old_, 16);
        hadOld_ = n > 0 && n < 16;
        SetEnvironmentVariableW(L"VORLAN_DEVICE_TRANSPORT", value);
    }
    ~TransportVariable() { SetEnvironmentVariableW(L"VORLAN_DEVICE_TRANSPORT", hadOld_ ? old_ : nullptr); }

private:
    wchar_t old_[16] = {};
    bool hadOld_ = false;
};

// Waits until the emulator serves exactly these desktop connections.
bool ConnectionsBecome(DeviceEmulator& device, uint32_t sockets, uint32_t rings, DWORD waitMs = 3000) {
    for (DWORD waited = 0;; waited += 20) {
        uint32_t s = 0, r = 0;
        if (device.Connections(s, r) && s == sockets && r == rings) return true;
        if (waited >= waitMs) {
            ADD_FAILURE() << "the emulator serves " << s << " socket(s) and " << r << " ring(s), not " << sockets
                          << " and " << rings;
            return false;
        }
        Sleep(20);
    }
}

// A call into the device library that takes milliseconds to return.
HRESULT SlowCall(DWORD milliseconds) {
    auto* input = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, sizeof milliseconds));
    CopyMemory(input, &milliseconds, sizeof milliseconds);
    DWORD size = 0;
    BYTE* output = nullptr;
    HRESULT hr = CeRapiInvoke(L"SlowCall", L"WaitMilliseconds", sizeof milliseconds, input, &size, &output, nullptr, 0);
    CeRapiFreeBuffer(output);
    return hr;
}

// Writes a file larger than the ring several times over and reads it back.
bool LargeFileRoundTrip() {
    std::vector<char> data(9u << 20), back(data.size());
    uint32_t x = 7;
    for (auto& c : data) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 23);
    HANDLE h = CeCreateFile(L"\\Temp\\large.bin", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD done = 0;
    if (h == INVALID_HANDLE_VALUE || !CeWriteFile(h, data.data(), static_cast<DWORD>(data.size()), &done, nullptr) ||
        !CeCloseHandle(h) || done != data.size())
        return false;
    h = CeCreateFile(L"\\Temp\\large.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    bool read = h != INVALID_HANDLE_VALUE && CeReadFile(h, back.data(), static_cast<DWORD>(back.size()), &done, nullptr) &&
                done == back.size();
    CeCloseHandle(h);
    return read && back == data && CeDeleteFile(L"\\Temp\\large.bin");
}

}  // namespace

TEST(Transport, EachConnectionTakesTheTransportItIsGiven) {
    struct Case {
        const wchar_t* variable;  // VORLAN_DEVICE_TRANSPORT
        const wchar_t* options;   // of the emulator
        uint32_t sockets, rings;
        const char* note;
    };
    const Case cases[] = {
        {nullptr, L"", 0, 1, "shared memory when both ends can"},
        {L"TCP", L"", 1, 0, "the desktop keeps its socket"},
        {nullptr, L"--transport tcp", 1, 0, "the emulator offers no ring: the socket serves"},
        {L"shm", L"--transport shm", 0, 1, "both ask for shared memory"},
    };
    for (const Case& c : cases) {
        TransportVariable variable(c.variable);
        DeviceEmulator device("", L"", c.options);
        device.UseForRapi();
        RapiSession session;
        ASSERT_TRUE(session.Connected()) << c.note;
        EXPECT_TRUE(DeviceAnswers()) << c.note;
        EXPECT_TRUE(LargeFileRoundTrip()) << c.note;
        EXPECT_TRUE(ConnectionsBecome(device, c.sockets, c.rings)) << c.note;
    }
}

TEST(Transport, TheEmulatorEndedMidCallFailsTheCallAndANewConnectionWorks) {
    DeviceEmulator device;
    device.UseForRapi();
    ASSERT_TRUE(device.Install(BuildPath(VORLAN_SLOW_CALL), L"\\Windows\\SlowCall.dll"));
    RapiSession session;
    ASSERT_TRUE(session.Connected());
    ASSERT_EQ(SlowCall(0), S_OK);
    HRESULT hr = S_OK;
    DWORD error = 0;
    ULONGLONG returned = 0;
    std::thread caller([&] {
        hr = SlowCall(30000);
        error = CeGetLastError();
        returned = GetTickCount64();
    });
    Sleep(500);  // the call is in the device library now
    ULONGLONG killed = GetTickCount64();
    device.Kill();
    caller.join();
    EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED));
    EXPECT_LT(returned - killed, 2000u) << "the call outlived the emulator";
    EXPECT_FALSE(DeviceAnswers());
    EXPECT_EQ(CeGetLastError(), static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED));

    device.Restart();
    EXPECT_TRUE(DeviceAnswers());
    std::thread again([&] { hr = SlowCall(10); });
    again.join();
    EXPECT_EQ(hr, S_OK);
}

TEST(Transport, AClientThreadEndedMidCallIsDroppedByTheDevice) {
    if (!SharedMemoryWanted()) GTEST_SKIP() << "a socket outlives its thread: only the process's end closes it";
    DeviceEmulator device;
    device.UseForRapi();
    ASSERT_TRUE(device.Install(BuildPath(VORLAN_SLOW_CALL), L"\\Windows\\SlowCall.dll"));
    RapiSession session;
    ASSERT_TRUE(session.Connected());
    ASSERT_TRUE(DeviceAnswers());
    ASSERT_TRUE(ConnectionsBecome(device, 0, 1));
    HANDLE thread = CreateThread(nullptr, 0, [](void*) -> DWORD { return SlowCall(1500); }, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(ConnectionsBecome(device, 0, 2));
    Sleep(200);
    TerminateThread(thread, 1);  // no detach notice: only the device can tell
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(ConnectionsBecome(device, 0, 1, 5000)) << "the device still serves a thread that is gone";
    bool answered = false;
    std::thread next([&] { answered = DeviceAnswers(); });
    next.join();
    EXPECT_TRUE(answered);
}

TEST(Transport, OnlyAClientThatProvedTheSecretIsGivenTheRing) {
    DeviceEmulator device;
    Endpoint endpoint;
    ASSERT_TRUE(ReadEndpoint(device.State(), endpoint));
    Secret wrong = endpoint.secret;
    wrong[0] ^= 0x80;
    SessionToken token{};
    struct Case {
        bool greet;
        const Secret* secret;
        bool ring;
        const char* note;
    };
    const Case cases[] = {
        {true, &endpoint.secret, true, "the secret proved"},
        {true, &wrong, false, "a wrong secret"},
        {false, nullptr, false, "no greeting at all"},
    };
    for (const Case& c : cases) {
        FrameSocket s;
        ASSERT_TRUE(s.Connect(endpoint.port));
        std::vector<uint8_t> body;
        if (c.greet) {
            WireWriter hello;
            BeginFrame(hello, static_cast<uint32_t>(Op::Hello));
            hello.U32(kHelloMagic);
            hello.U32(kProtocolVersion);
            hello.U32(static_cast<uint32_t>(Role::Rapi));
            hello.Raw(c.secret->data(), c.secret->size());
            hello.Raw(token.data(), token.size());
            FinishFrame(hello);
            ASSERT_TRUE(s.Send(hello.Buffer()));
            EXPECT_EQ(s.Receive(body, kMaxFrameBody), c.ring) << c.note;
        }
        WireWriter ask;
        BeginFrame(ask, static_cast<uint32_t>(Op::OpenRing));
        ask.U32(GetCurrentProcessId());
        ask.U32(0);
        FinishFrame(ask);
        s.Send(ask.Buffer());
        // The ring's memory and events have no names: this answer is the
        // only way to them, and the emulator duplicates them only for it.
        EXPECT_EQ(s.Receive(body, kMaxFrameBody), c.ring) << c.note;
        if (!c.ring) continue;
        WireReader r(body);
        EXPECT_EQ(r.U32(), static_cast<uint32_t>(Status::Ok));
        EXPECT_EQ(r.U32(), 0u) << "the device's error";
        SharedRing ring;
        HANDLE h[4];
        for (HANDLE& one : h) one = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(r.U64()));
        ASSERT_TRUE(r.Done());
        ASSERT_TRUE(ring.Attach(h[0], h[1], h[2], h[3]));
        WireWriter call;
        BeginFrame(call, static_cast<uint32_t>(Op::GetFileAttributes));
        call.Text(u"\\Windows");
        FinishFrame(call);
        ASSERT_TRUE(ring.Send(call.Buffer()));
        ASSERT_TRUE(ring.Receive(body, kMaxFrameBody)) << "the socket answers no more, the ring does";
        WireReader answer(body);
        EXPECT_EQ(answer.U32(), static_cast<uint32_t>(Status::Ok));
        EXPECT_EQ(answer.U32(), 0u);
        EXPECT_EQ(answer.U32(), static_cast<uint32_t>(FILE_ATTRIBUTE_DIRECTORY));
    }
}
