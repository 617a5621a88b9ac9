// The emulator's side of the connection against frames no desktop sends:
// strangers, oversized, truncated, unknown and malformed frames, then a
// fixed number of random ones. It answers or hangs up, and keeps serving.
#include <gtest/gtest.h>

#include <random>

#include "CeRapi.h"
#include "DeviceChannel.h"
#include "DeviceEmulator.h"

using namespace vorlan::device;
using vorlan::testing::DeviceEmulator;
using vorlan::testing::RapiSession;

namespace {

class Protocol : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ReadEndpoint(device.State(), endpoint));
        RandomBytes(token.data(), token.size());
    }
    // Sends raw bytes on a fresh connection and tells whether an answer came.
    bool Answered(const std::vector<uint8_t>& bytes, std::vector<uint8_t>* answer = nullptr) {
        FrameSocket s;
        if (!s.Connect(endpoint.port) || !s.Send(bytes)) return false;
        std::vector<uint8_t> body;
        bool got = s.Receive(body, kMaxFrameBody);
        if (answer) *answer = body;
        return got;
    }
    std::vector<uint8_t> Hello(uint32_t magic, uint32_t version, uint32_t role, const Secret& secret) {
        WireWriter w;
        BeginFrame(w, static_cast<uint32_t>(Op::Hello));
        w.U32(magic);
        w.U32(version);
        w.U32(role);
        w.Raw(secret.data(), secret.size());
        w.Raw(token.data(), token.size());
        FinishFrame(w);
        return w.Buffer();
    }
    Status Ask(DeviceChannel& channel, WireWriter& request) {
        std::vector<uint8_t> answer;
        Status status = Status::Ok;
        channel.Call(request, answer, &status);
        return status;
    }
    bool DeviceStillServes() {
        device.UseForRapi();
        RapiSession session;
        return session.Connected() && CeGetFileAttributes(L"\\Windows") == FILE_ATTRIBUTE_DIRECTORY;
    }

    DeviceEmulator device;
    Endpoint endpoint;
    SessionToken token{};
};

}  // namespace

TEST_F(Protocol, StrangersAreTurnedAway) {
    Secret wrong = endpoint.secret;
    wrong[kSecretSize - 1] ^= 1;
    EXPECT_TRUE(Answered(Hello(kHelloMagic, kProtocolVersion, 0, endpoint.secret)));
    EXPECT_FALSE(Answered(Hello(kHelloMagic, kProtocolVersion, 0, wrong)));
    EXPECT_FALSE(Answered(Hello(kHelloMagic + 1, kProtocolVersion, 0, endpoint.secret)));
    EXPECT_FALSE(Answered(Hello(kHelloMagic, kProtocolVersion + 1, 0, endpoint.secret)));
    EXPECT_FALSE(Answered(Hello(kHelloMagic, kProtocolVersion, 7, endpoint.secret)));
    // A first frame that is not a greeting, or one too big to be one.
    WireWriter w;
    BeginFrame(w, static_cast<uint32_t>(Op::GetFileAttributes));
    w.Text(u"\\Windows");
    FinishFrame(w);
    EXPECT_FALSE(Answered(w.Buffer()));
    std::vector<uint8_t> huge = Hello(kHelloMagic, kProtocolVersion, 0, endpoint.secret);
    huge.resize(huge.size() + 4096);
    huge[0] = 0xF0, huge[1] = 0x10;  // the body size now claims 4336 bytes
    EXPECT_FALSE(Answered(huge));
    EXPECT_TRUE(DeviceStillServes());
}

TEST_F(Protocol, BadFramesGetAnErrorOrAClosedConnection) {
    DeviceChannel channel;
    ASSERT_TRUE(channel.Open(endpoint, Role::Rapi, token));
    WireWriter unknown;
    BeginFrame(unknown, 0x7777);
    EXPECT_EQ(Ask(channel, unknown), Status::UnknownOperation);
    WireWriter control;
    BeginFrame(control, static_cast<uint32_t>(Op::Shutdown));
    EXPECT_EQ(Ask(channel, control), Status::NotAllowed);
    WireWriter cut;  // a text whose length runs past the frame
    BeginFrame(cut, static_cast<uint32_t>(Op::GetFileAttributes));
    cut.U32(1000);
    cut.U16('x');
    EXPECT_EQ(Ask(channel, cut), Status::Malformed);
    WireWriter extra;  // fields left over after the request
    BeginFrame(extra, static_cast<uint32_t>(Op::GetFileAttributes));
    extra.Text(u"\\Windows");
    extra.U32(1);
    EXPECT_EQ(Ask(channel, extra), Status::Malformed);
    WireWriter tooMuch;  // more than a chunk at once
    BeginFrame(tooMuch, static_cast<uint32_t>(Op::ReadFile));
    tooMuch.U32(0x100);
    tooMuch.U32(static_cast<uint32_t>(kDataChunk + 1));
    EXPECT_EQ(Ask(channel, tooMuch), Status::Malformed);
    WireWriter good;
    BeginFrame(good, static_cast<uint32_t>(Op::GetFileAttributes));
    good.Text(u"\\Windows");
    EXPECT_EQ(Ask(channel, good), Status::Ok) << "the connection survives bad frames";

    // A frame larger than any request ends the connection; so does one cut short.
    std::vector<uint8_t> oversized = {0xFF, 0xFF, 0xFF, 0x7F, 0x10, 0, 0, 0};
    FrameSocket s;
    ASSERT_TRUE(s.Connect(endpoint.port));
    ASSERT_TRUE(s.Send(Hello(kHelloMagic, kProtocolVersion, 0, endpoint.secret)));
    std::vector<uint8_t> body;
    ASSERT_TRUE(s.Receive(body, kMaxFrameBody));
    ASSERT_TRUE(s.Send(oversized));
    EXPECT_FALSE(s.Receive(body, kMaxFrameBody));
    EXPECT_TRUE(DeviceStillServes());
}

TEST_F(Protocol, FramesOverTheLimitOrCutShortEndTheConnectionOnEitherTransport) {
    for (bool cut : {false, true}) {
        DeviceChannel channel;
        ASSERT_TRUE(channel.Open(endpoint, Role::Rapi, token));
        EXPECT_EQ(channel.InMemory(), SharedMemoryWanted()) << "the transport this run is about";
        std::vector<uint8_t> body;
        if (!cut) {
            ASSERT_TRUE(channel.Link().Send({0xFF, 0xFF, 0xFF, 0x7F, 0x10, 0, 0, 0}));
            EXPECT_FALSE(channel.Link().Receive(body, kMaxFrameBody)) << "a frame over the limit was answered";
        } else {
            // A header that promises 100 bytes, 10 of them, then the end.
            std::vector<uint8_t> half = {100, 0, 0, 0, 0x19, 0, 0, 0, 1, 0, 0, 0, 'x', 0};
            ASSERT_TRUE(channel.Link().Send(half));
            channel.Close();
        }
        EXPECT_TRUE(DeviceStillServes()) << (cut ? "cut short" : "over the limit");
    }
}

TEST_F(Protocol, RandomFramesForAFixedCount) {
    std::mt19937 random(20261210);
    const uint32_t ops[] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D,
                            0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47,
                            0x48, 0x49, 0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x81, 0x82, 0x83, 0x84,
                            0x85, 0x86, 0x100, 0x107, 0x9999};
    DeviceChannel channel;
    ASSERT_TRUE(channel.Open(endpoint, Role::Rapi, token));
    int answered = 0, reopened = 0;
    for (int i = 0; i < 1500; ++i) {
        WireWriter w;
        BeginFrame(w, ops[random() % std::size(ops)]);
        size_t size = random() % 64;
        for (size_t b = 0; b < size; ++b) w.U8(static_cast<uint8_t>(random() % 4 == 0 ? random() : random() % 8));
        std::vector<uint8_t> answer;
        Status status;
        if (channel.Call(w, answer, &status) || status != Status::Ok) {
            ++answered;
        }
        if (!channel.IsOpen()) {
            ++reopened;
            ASSERT_TRUE(channel.Open(endpoint, Role::Rapi, token)) << "the emulator stopped serving at frame " << i;
        }
    }
    EXPECT_GT(answered, 1000);
    // Frames that end inside themselves.
    for (int i = 0; i < 20; ++i) {
        FrameSocket s;
        ASSERT_TRUE(s.Connect(endpoint.port));
        std::vector<uint8_t> hello = Hello(kHelloMagic, kProtocolVersion, 0, endpoint.secret);
        hello.resize(random() % hello.size());
        s.Send(hello);
    }
    EXPECT_TRUE(DeviceStillServes());
    std::cout << answered << " answered, " << reopened << " reconnections\n";
}
