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
    bool Receive(std::vector<uint8_t>& body, size_t maxBody);
    // Ends the connection for a reader on another thread too.
    virtual void Shutdown() = 0;
    virtual void Close() = 0;
    // True for the shared-memory ring.
    virtual bool InMemory() const = 0;

protected:
    // Reads exactly size bytes; false when the connection ends first.
    virtual bool ReceiveAll(uint8_t* data, size_t size) = 0;
};

inline bool FrameTransport::Receive(std::vector<uint8_t>& body, size_t maxBody) {
    if (!IsOpen()) return false;
    uint8_t header[4];
    if (!ReceiveAll(header, sizeof header)) return false;
    size_t size = header[0] | (header[1] << 8) | (header[2] << 16) | (static_cast<size_t>(header[3]) << 24);
    if (size > maxBody) return false;
    body.resize(size);
    return ReceiveAll(body.data(), size);
}

}  // namespace vorlan::device
