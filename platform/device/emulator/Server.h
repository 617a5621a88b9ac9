#pragma once
// The emulator's side of the device connection: it accepts desktop
// programs and tests on the loopback interface, checks who they are, moves
// them to a shared-memory ring when they ask, and answers their frames by
// calling the device's system library.
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "DeviceChannel.h"
#include "Protocol.h"

namespace vorlan::device {

// What a session's handle stands for on the device.
struct DeviceHandle {
    enum Kind { File, Search, Process, Thread } kind;
    HANDLE value;
};

// The handles and keys of one desktop session (or one test's control
// connection); they are closed when its last connection ends.
class Session {
public:
    ~Session();
    uint32_t Add(DeviceHandle::Kind kind, HANDLE value);
    bool Find(uint32_t id, DeviceHandle::Kind kind, HANDLE& value);
    bool Close(uint32_t id);
    void AddKey(HKEY key);
    void RemoveKey(HKEY key);

    int connections = 0;

private:
    std::mutex lock_;
    std::map<uint32_t, DeviceHandle> handles_;
    std::set<HKEY> keys_;
    uint32_t next_ = 0x100;
};

// One request being answered.
struct Request {
    Session& session;
    WireReader& in;
    WireWriter& out;
    uint32_t error = 0;  // the device's last error, sent ahead of the fields
    bool malformed = false;  // fields that parse but mean nothing
};

using Handler = void (*)(Request&);

// The handler of an operation for a role, or null when the role may not use it.
Handler RapiHandler(Op op);
Handler ControlHandler(Op op);

class Server {
public:
    // rings: whether connections may move to shared memory.
    Server(const Secret& secret, std::wstring stateFolder, bool rings)
        : secret_(secret), state_(std::move(stateFolder)), rings_(rings) {}
    // Listens on 127.0.0.1:port (0: any free port); the port actually used
    // is in Port() afterwards.
    bool Listen(uint16_t port);
    uint16_t Port() const { return port_; }
    // Accepts connections until the process ends.
    void Run();

    // Drops every desktop connection and refuses new ones until Reconnect.
    void Disconnect();
    void Reconnect() { disconnected_ = false; }
    const std::wstring& State() const { return state_; }
    // Desktop connections now open: over the socket, over shared memory.
    void CountConnections(uint32_t& sockets, uint32_t& rings);

    static Server* Instance() { return instance_; }

private:
    void Serve(SOCKET s);
    // Answers a request to move to a ring; true when the ring is ready.
    bool OfferRing(WireReader& in, WireWriter& out, SharedRing& ring);
    void Track(FrameTransport* link, Role role, bool add);
    std::shared_ptr<Session> Join(const SessionToken& token, Role role);
    void Leave(const SessionToken& token, Role role);

    Secret secret_;
    std::wstring state_;
    SOCKET listener_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::atomic<bool> disconnected_{false};
    std::mutex lock_;
    std::map<std::pair<int, SessionToken>, std::shared_ptr<Session>> sessions_;
    bool rings_;
    std::set<FrameTransport*> rapiLinks_;
    static Server* instance_;
};

}  // namespace vorlan::device
