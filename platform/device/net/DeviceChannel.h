#pragma once
// A connection to a device emulator that has proved it may talk to it:
// connect, greet with the emulator's secret, then request and answer.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "FrameSocket.h"
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

class DeviceChannel {
public:
    bool Open(const Endpoint& endpoint, Role role, const SessionToken& token);
    bool IsOpen() const { return socket_.IsOpen(); }
    // Sends the frame in request (see BeginFrame) and receives the answer;
    // false when the connection failed or the answer's status is not Ok.
    bool Call(WireWriter& request, std::vector<uint8_t>& answer, Status* status = nullptr);
    // The two halves of Call, for several requests in flight at once;
    // answers come in the order of their requests.
    bool Send(WireWriter& request);
    bool Receive(std::vector<uint8_t>& answer, Status* status = nullptr);
    void Shutdown() { socket_.Shutdown(); }
    void Close() { socket_.Close(); }

private:
    FrameSocket socket_;
};

}  // namespace vorlan::device
