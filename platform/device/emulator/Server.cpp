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
    for (FrameSocket* s : rapiSockets_) s->Shutdown();
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
    if (role == Role::Rapi) {
        std::lock_guard<std::mutex> guard(lock_);
        rapiSockets_.insert(&socket);
    }
    while (!(role == Role::Rapi && disconnected_) && socket.Receive(body, kMaxFrameBody)) {
        WireReader in(body);
        Op op = static_cast<Op>(in.U32());
        Handler handler = role == Role::Rapi ? RapiHandler(op) : ControlHandler(op);
        out.Truncate(0);
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
        if (!socket.Send(out.Buffer())) break;
    }
    if (role == Role::Rapi) {
        std::lock_guard<std::mutex> guard(lock_);
        rapiSockets_.erase(&socket);
    }
    Leave(token, role);
}

}  // namespace vorlan::device
