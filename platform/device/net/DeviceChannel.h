#pragma once
// A connection to a device emulator that has proved it may talk to it:
// connect, greet with the emulator's secret, then request and answer. Once
// the secret is proved the connection moves to a shared-memory ring when
// the emulator offers one; the socket is the transport otherwise.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "FrameSocket.h"
#include "SharedRing.h"
#include "Protocol.h"

namespace vorlan::device {

using Secret = std::array<uint8_t, kSecretSize>;
using SessionToken = std::array<uint8_t, kSessionTokenSize>;

// Where to reach an emulator: the files it writes into its state folder
// ("endpoint": the port in decimal; "secret": 64 hex digits).
struct Endpoint {
    uint16_t port = 0;
    Secret secret{};
};

// False when the folder holds no complete endpoint (the emulator is not
// running yet, or the files are damaged).
bool ReadEndpoint(const std::wstring& stateFolder, Endpoint& endpoint);

// Random bytes from the system's generator.
bool RandomBytes(void* data, size_t size);

// False when VORLAN_DEVICE_TRANSPORT says "tcp": connections then stay on
// their socket (tests run every suite that way too).
bool SharedMemoryWanted();

class DeviceChannel {
public:
    // A remote API connection belongs to the thread that opens it: the
    // emulator drops it when that thread ends, even mid-call.
    bool Open(const Endpoint& endpoint, Role role, const SessionToken& token);
    bool IsOpen() const { return link_->IsOpen(); }
    // True once the connection runs over shared memory.
    bool InMemory() const { return link_->InMemory(); }
    // Sends the frame in request (see BeginFrame) and receives the answer;
    // false when the connection failed or the answer's status is not Ok.
    bool Call(WireWriter& request, std::vector<uint8_t>& answer, Status* status = nullptr);
    // The two halves of Call, for several requests in flight at once;
    // answers come in the order of their requests.
    bool Send(WireWriter& request);
    bool Receive(std::vector<uint8_t>& answer, Status* status = nullptr);
    // Safe from another thread while a call waits.
    void Shutdown() {
        socket_.Shutdown();
        ring_.Shutdown();
    }
    void Close() {
        socket_.Close();
        ring_.Close();
        link_ = &socket_;
    }
    // The transport itself, for frames no desktop would send.
    FrameTransport& Link() { return *link_; }

private:
    bool MoveToRing(Role role);
    FrameSocket socket_;
    SharedRing ring_;
    FrameTransport* link_ = &socket_;
};

}  // namespace vorlan::device
