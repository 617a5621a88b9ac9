#pragma once
// Frames over one TCP socket on the loopback interface: the transport of the
// device connection on both of its ends.
#include <winsock2.h>

#include <cstdint>
#include <vector>

#include "FrameTransport.h"

namespace vorlan::device {

// Starts Winsock once per process; false when it cannot be started.
bool StartWinsock();

class FrameSocket : public FrameTransport {
public:
    FrameSocket() = default;
    explicit FrameSocket(SOCKET s) : socket_(s) {}
    ~FrameSocket() override { Close(); }
    FrameSocket(const FrameSocket&) = delete;
    FrameSocket& operator=(const FrameSocket&) = delete;

    // Connects to 127.0.0.1:port with small-frame latency switched off.
    bool Connect(uint16_t port);
    bool IsOpen() const override { return socket_ != INVALID_SOCKET; }
    bool Send(const std::vector<uint8_t>& frame) override;
    void Shutdown() override;
    void Close() override;
    bool InMemory() const override { return false; }

private:
    // Fills data from what was read ahead, then from the socket.
    bool ReceiveAll(uint8_t* data, size_t size) override;
    SOCKET socket_ = INVALID_SOCKET;
    // Bytes read past the frame asked for: one read often brings a whole
    // small frame, header and body, and every socket call costs.
    std::vector<uint8_t> ahead_ = std::vector<uint8_t>(64 * 1024);
    size_t aheadStart_ = 0, aheadEnd_ = 0;
};

// Small frames go out at once and big ones in few pieces.
void TuneSocket(SOCKET s);

}  // namespace vorlan::device
