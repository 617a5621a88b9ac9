#include "Server.h"

#include <ws2tcpip.h>

#include <thread>

#include "DeviceCalls.h"

namespace vorlan::device {

Server* Server::instance_ = nullptr;

namespace {

constexpr size_t kMaxHello = 256;

bool SameSecret(const uint8_t* a, const uint8_t* b) {
    uint8_t difference = 0;  // no early exit: the time taken tells nothing
    for (size_t i = 0; i < kSecretSize; ++i) difference |= a[i] ^ b[i];
    return difference == 0;
}

void CloseDeviceHandle(const DeviceHandle& h) {
    if (h.kind == DeviceHandle::Search)
        Ce.FindClose(h.value);
    else
        CloseHandle(h.value);
}

}  // namespace

Session::~Session() {
    for (auto& [id, h] : handles_) CloseDeviceHandle(h);
    for (HKEY key : keys_) Ce.RegCloseKey(key);
}

uint32_t Session::Add(DeviceHandle::Kind kind, HANDLE value) {
    std::lock_guard<std::mutex> guard(lock_);
    uint32_t id = next_;
    next_ += 4;
    if (next_ >= 0x7FFFFFF0u) next_ = 0x100;
    handles_[id] = DeviceHandle{kind, value};
    return id;
}

bool Session::Find(uint32_t id, DeviceHandle::Kind kind, HANDLE& value) {
    std::lock_guard<std::mutex> guard(lock_);
    auto it = handles_.find(id);
    if (it == handles_.end() || it->second.kind != kind) return false;
    value = it->second.value;
    return true;
}

bool Session::Close(uint32_t id) {
    DeviceHandle h;
    {
        std::lock_guard<std::mutex> guard(lock_);
        auto it = handles_.find(id);
        if (it == handles_.end()) return false;
        h = it->second;
        handles_.erase(it);
    }
    CloseDeviceHandle(h);
    return true;
}

void Session::AddKey(HKEY key) {
    std::lock_guard<std::mutex> guard(lock_);
    keys_.insert(key);
}

void Session::RemoveKey(HKEY key) {
    std::lock_guard<std::mutex> guard(lock_);
    keys_.erase(key);
}

bool Server::Listen(uint16_t port) {
    if (!StartWinsock()) return false;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET) return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // never reachable from another machine
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 64) != 0)
        return false;
    int size = sizeof address;
    if (getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) return false;
    port_ = ntohs(address.sin_port);
    instance_ = this;
    return true;
}

void Server::Run() {
    for (;;) {
        SOCKET s = accept(listener_, nullptr, nullptr);
        if (s == INVALID_SOCKET) {
            Sleep(10);
            continue;
        }
        TuneSocket(s);
        std::thread([this, s] { Serve(s); }).detach();
    }
}

void Server::Disconnect() {
    disconnected_ = true;
    std::lock_guard<std::mutex> guard(lock_);
    for (FrameTransport* link : rapiLinks_) link->Shutdown();
}

void Server::CountConnections(uint32_t& sockets, uint32_t& rings) {
    std::lock_guard<std::mutex> guard(lock_);
    sockets = rings = 0;
    for (FrameTransport* link : rapiLinks_) ++(link->InMemory() ? rings : sockets);
}

void Server::Track(FrameTransport* link, Role role, bool add) {
    if (role != Role::Rapi) return;
    std::lock_guard<std::mutex> guard(lock_);
    if (add)
        rapiLinks_.insert(link);
    else
        rapiLinks_.erase(link);
}

std::shared_ptr<Session> Server::Join(const SessionToken& token, Role role) {
    std::lock_guard<std::mutex> guard(lock_);
    auto& session = sessions_[{static_cast<int>(role), token}];
    if (!session) session = std::make_shared<Session>();
    ++session->connections;
    return session;
}

void Server::Leave(const SessionToken& token, Role role) {
    std::shared_ptr<Session> last;
    {
        std::lock_guard<std::mutex> guard(lock_);
        auto it = sessions_.find({static_cast<int>(role), token});
        if (it == sessions_.end()) return;
        if (--it->second->connections == 0) {
            last = it->second;
            sessions_.erase(it);
        }
    }
    // last closes the session's handles here, outside the lock.
}

void Server::Serve(SOCKET s) {
    FrameSocket socket(s);
    std::vector<uint8_t> body;
    if (!socket.Receive(body, kMaxHello)) return;
    WireReader hello(body);
    uint8_t secret[kSecretSize];
    SessionToken token;
    bool good = hello.U32() == static_cast<uint32_t>(Op::Hello) && hello.U32() == kHelloMagic &&
                hello.U32() == kProtocolVersion;
    uint32_t roleValue = hello.U32();
    hello.Raw(secret, sizeof secret);
    hello.Raw(token.data(), token.size());
    good = good && hello.Done() && SameSecret(secret, secret_.data()) && roleValue <= 1;
    Role role = static_cast<Role>(roleValue);
    if (!good || (role == Role::Rapi && disconnected_)) return;

    WireWriter out;
    BeginFrame(out, static_cast<uint32_t>(Status::Ok));
    FinishFrame(out);
    if (!socket.Send(out.Buffer())) return;

    std::shared_ptr<Session> session = Join(token, role);
    SharedRing ring;
    FrameTransport* link = &socket;
    Track(link, role, true);
    while (!(role == Role::Rapi && disconnected_) && link->Receive(body, kMaxFrameBody)) {
        WireReader in(body);
        Op op = static_cast<Op>(in.U32());
        Handler handler = role == Role::Rapi ? RapiHandler(op) : ControlHandler(op);
        out.Truncate(0);
        if (op == Op::OpenRing && link == &socket) {
            bool moved = OfferRing(in, out, ring);
            FinishFrame(out);
            if (!socket.Send(out.Buffer())) break;
            if (moved) {
                Track(&socket, role, false);
                socket.Close();
                link = &ring;
                Track(link, role, true);
            }
            continue;
        }
        if (!in.Ok()) {
            BeginFrame(out, static_cast<uint32_t>(Status::Malformed));
        } else if (!handler) {
            Status status = (RapiHandler(op) || ControlHandler(op)) ? Status::NotAllowed : Status::UnknownOperation;
            BeginFrame(out, static_cast<uint32_t>(status));
        } else {
            BeginFrame(out, static_cast<uint32_t>(Status::Ok));
            out.U32(0);  // the device's error, filled in below
            Request request{*session, in, out};
            SetLastError(0);
            handler(request);
            if (in.Done() && !request.malformed) {
                out.PatchU32(kFrameHeader + 4, request.error);
            } else {
                // Fields missing or left over: the request meant something else.
                out.Truncate(0);
                BeginFrame(out, static_cast<uint32_t>(Status::Malformed));
            }
        }
        FinishFrame(out);
        if (!link->Send(out.Buffer())) break;
    }
    Track(link, role, false);
    Leave(token, role);
}

namespace {

// A handle of this process put into another; null when it cannot be.
HANDLE GiveHandle(HANDLE own, HANDLE process, DWORD access = 0, DWORD options = DUPLICATE_SAME_ACCESS) {
    HANDLE theirs = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), own, process, &theirs, access, FALSE, options)) return nullptr;
    return theirs;
}

}  // namespace

bool Server::OfferRing(WireReader& in, WireWriter& out, SharedRing& ring) {
    DWORD pid = in.U32(), tid = in.U32();
    if (!in.Done()) {
        BeginFrame(out, static_cast<uint32_t>(Status::Malformed));
        return false;
    }
    BeginFrame(out, static_cast<uint32_t>(Status::Ok));
    auto refuse = [&out](DWORD error) {
        out.U32(error ? error : ERROR_GEN_FAILURE);
        return false;
    };
    if (!rings_) return refuse(ERROR_NOT_SUPPORTED);
    HANDLE client = OpenProcess(PROCESS_DUP_HANDLE | SYNCHRONIZE, FALSE, pid);
    if (!client) return refuse(GetLastError());
    // What ends the connection: the thread that owns it, or its whole process.
    HANDLE peer = nullptr;
    if (tid) {
        peer = OpenThread(SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION, FALSE, tid);
        if (peer && GetProcessIdOfThread(peer) != pid) {
            CloseHandle(peer);
            peer = nullptr;
            SetLastError(ERROR_INVALID_PARAMETER);
        }
    } else {
        peer = GiveHandle(client, GetCurrentProcess());
    }
    if (!peer || !ring.Create(peer)) {
        DWORD error = GetLastError();
        CloseHandle(client);
        return refuse(error);
    }
    HANDLE given[4] = {GiveHandle(ring.Mapping(), client), GiveHandle(ring.DeviceEvent(), client),
                       GiveHandle(ring.DesktopEvent(), client),
                       GiveHandle(GetCurrentProcess(), client, SYNCHRONIZE, 0)};
    DWORD error = GetLastError();
    bool complete = given[0] && given[1] && given[2] && given[3];
    if (!complete) {
        for (HANDLE h : given)
            if (h) DuplicateHandle(client, h, nullptr, nullptr, 0, FALSE, DUPLICATE_CLOSE_SOURCE);
        ring.Close();
    }
    CloseHandle(client);
    if (!complete) return refuse(error);
    out.U32(0);
    for (HANDLE h : given) out.U64(reinterpret_cast<uintptr_t>(h));
    return true;
}

}  // namespace vorlan::device
