#pragma once
// What carries the device connection's frames: a loopback socket, or a
// ring in memory shared by the two processes when both run on one machine.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vorlan::device {

class FrameTransport {
public:
    virtual ~FrameTransport() = default;
    virtual bool IsOpen() const = 0;
    // Sends a whole frame (header included, see FinishFrame).
    virtual bool Send(const std::vector<uint8_t>& frame) = 0;
    // Receives one frame's body. A body larger than maxBody fails the read
    // without reading it; so does a connection that ends inside a frame.
    virtual bool Receive(std::vector<uint8_t>& body, size_t maxBody) = 0;
    // Ends the connection for a reader on another thread too.
    virtual void Shutdown() = 0;
    virtual void Close() = 0;
    // True for the shared-memory ring.
    virtual bool InMemory() const = 0;
};

// The body size a frame header announces.
inline size_t FrameBodySize(const uint8_t* header) {
    return header[0] | (header[1] << 8) | (header[2] << 16) | (static_cast<size_t>(header[3]) << 24);
}

}  // namespace vorlan::device
