#pragma once
// The process's one device session: counted starts and stops, and a
// connection per calling thread to the emulator named by VORLAN_DEVICE (or
// the desktop registry), so a long call on one thread holds no other.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "Protocol.h"
#include "Wire.h"

namespace vorlan::device {
class DeviceChannel;
}

namespace vorlan::rapi {

struct Buffers;

HRESULT InitSession(HANDLE* initEvent);
HRESULT UninitSession();
// The last device error seen by the calling thread.
DWORD ThreadLastError();
void SetThreadLastError(DWORD error);
HRESULT LastTransportError();
// Frees what the calling thread holds; called when a thread ends.
void ReleaseThread();

// One request to the device: fill In(), Run() it, read Out(). Run() sets
// the thread's device error from the answer; a transport failure sets it
// to ERROR_DEVICE_NOT_CONNECTED and returns false.
// The frames use buffers the thread keeps, because fresh large blocks cost
// more than the copying into them.
class Call {
public:
    explicit Call(device::Op op);
    ~Call();
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;
    device::WireWriter& In() { return request_; }
    bool Run();
    device::WireReader& Out() { return reader_; }

private:
    Call(Buffers& buffers, device::Op op);
    device::WireWriter& request_;
    std::vector<uint8_t>& answer_;
    device::WireReader reader_{nullptr, 0};
};

// Several requests in flight on the thread's connection: Begin and Send
// each, then Receive the answers in the same order. A transport failure
// ends the pipeline (every later step fails).
class Pipeline {
public:
    Pipeline();
    ~Pipeline();
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;
    bool Ok() const { return channel_ != nullptr; }
    device::WireWriter& Begin(device::Op op);
    bool Send();
    bool Receive();
    device::WireReader& Out() { return reader_; }

private:
    void Fail();
    uint64_t generation_ = 0;
    device::DeviceChannel* channel_;
    Buffers& buffers_;
    device::WireReader reader_{nullptr, 0};
};

// Device values of handles and keys are 32 bits; INVALID_HANDLE_VALUE and
// the predefined keys survive the trip because they are sign-extended.
inline uint32_t ToDevice(const void* handle) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle)); }
template <typename T>
T FromDevice(uint32_t value) {
    return reinterpret_cast<T>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}

}  // namespace vorlan::rapi
