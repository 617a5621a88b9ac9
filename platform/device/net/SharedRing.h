#pragma once
// Frames through memory shared by two processes of one machine: a ring of
// bytes for each direction. A side that finds nothing to read (or no room
// to write) spins briefly on the other side's progress and then sleeps on
// its event, so a busy sequence of calls never enters the kernel and an
// idle connection costs no time at all. Each side also waits on a handle
// of the other (its process or thread): when that ends, the ring is gone.
//
// The memory and the events have no names. The emulator makes them and
// duplicates them into a desktop process that has proved the secret, so
// nobody else can reach them.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>

#include "FrameTransport.h"

namespace vorlan::device {

// Bytes of each direction's ring.
constexpr uint32_t kRingCapacity = 4u << 20;

class SharedRing : public FrameTransport {
public:
    enum class Side { Device = 0, Desktop = 1 };

    SharedRing() = default;
    ~SharedRing() override { Close(); }
    SharedRing(const SharedRing&) = delete;
    SharedRing& operator=(const SharedRing&) = delete;

    // The emulator's side: new memory and events. The ring takes peer, a
    // handle whose end (the desktop thread or process) ends the connection.
    bool Create(HANDLE peer);
    // The handles the desktop side needs, in the creating process.
    HANDLE Mapping() const { return mapping_; }
    HANDLE DeviceEvent() const { return events_[0]; }
    HANDLE DesktopEvent() const { return events_[1]; }

    // The desktop's side, from handles duplicated into this process; the
    // ring takes them all (peer: the emulator's process). False, with
    // every handle closed, when the memory is not a ring.
    bool Attach(HANDLE mapping, HANDLE deviceEvent, HANDLE desktopEvent, HANDLE peer);

    bool IsOpen() const override { return shared_ != nullptr; }
    bool Send(const std::vector<uint8_t>& frame) override;
    // Marks the ring ended and wakes both sides; safe from any thread.
    void Shutdown() override;
    void Close() override;
    bool InMemory() const override { return true; }

private:
    struct Shared;
    bool Map(HANDLE mapping);
    // Waits until ready() holds; false once the ring has ended.
    template <typename Ready>
    bool WaitUntil(Ready ready);
    void WakePeer();
    bool Ended() const;
    bool ReceiveAll(uint8_t* data, size_t size) override;

    std::mutex lock_;  // Shutdown from other threads against Close
    Shared* shared_ = nullptr;
    uint8_t* in_ = nullptr;   // the ring this side reads
    uint8_t* out_ = nullptr;  // the ring this side writes
    Side side_ = Side::Device;
    HANDLE mapping_ = nullptr;
    HANDLE events_[2] = {nullptr, nullptr};  // indexed by Side
    HANDLE peer_ = nullptr;
};

}  // namespace vorlan::device
