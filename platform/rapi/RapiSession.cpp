#include "RapiSession.h"

#include <memory>
#include <mutex>
#include <string>

#include "DeviceChannel.h"

namespace vorlan::rapi {

using namespace vorlan::device;

struct Buffers {
    WireWriter request;
    std::vector<uint8_t> answer;
};

namespace {

constexpr DWORD kRetryMs = 100;

struct InitRecord {
    HANDLE event;
    DWORD thread;
};

struct ThreadState {
    std::shared_ptr<DeviceChannel> channel;
    uint64_t generation = 0;
    DWORD lastError = 0;
    // One pair per call in progress on the thread (a call may make another).
    std::vector<std::unique_ptr<Buffers>> buffers;
    size_t depth = 0;
};

Buffers& EnterCall(ThreadState& thread) {
    if (thread.depth == thread.buffers.size()) thread.buffers.push_back(std::make_unique<Buffers>());
    Buffers& b = *thread.buffers[thread.depth++];
    b.request.Truncate(0);
    return b;
}

struct Session {
    std::mutex lock;
    int count = 0;
    bool connected = false;
    uint64_t generation = 0;
    SessionToken token{};
    std::vector<InitRecord> inits;
    std::vector<std::weak_ptr<DeviceChannel>> channels;
    HANDLE connector = nullptr;
    HRESULT lastTransportError = S_OK;
};

Session& TheSession() {
    static Session* session = new Session;  // lives until the process ends
    return *session;
}

DWORD TlsSlot() {
    static DWORD slot = TlsAlloc();
    return slot;
}

ThreadState& Thread() {
    auto* state = static_cast<ThreadState*>(TlsGetValue(TlsSlot()));
    if (!state) {
        state = new ThreadState;
        TlsSetValue(TlsSlot(), state);
    }
    return *state;
}

// The state folder of the emulator to reach, or "" when none is named.
std::wstring EmulatorStateFolder() {
    wchar_t buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"VORLAN_DEVICE", buffer, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return buffer;
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Dravenhall\\Device Emulator", L"State", RRF_RT_REG_SZ, nullptr,
                     buffer, &size) == ERROR_SUCCESS)
        return buffer;
    return {};
}

std::shared_ptr<DeviceChannel> OpenChannel(const SessionToken& token) {
    std::wstring folder = EmulatorStateFolder();
    Endpoint endpoint;
    if (folder.empty() || !ReadEndpoint(folder, endpoint)) return nullptr;
    auto channel = std::make_shared<DeviceChannel>();
    if (!channel->Open(endpoint, Role::Rapi, token)) return nullptr;
    return channel;
}

void SignalInits(Session& s) {
    for (const auto& init : s.inits) SetEvent(init.event);
}

// Tries to reach the device until it answers or the session ends, then
// signals every start that waits.
DWORD WINAPI ConnectLoop(void*) {
    Session& s = TheSession();
    for (;;) {
        uint64_t generation;
        SessionToken token;
        {
            std::lock_guard<std::mutex> guard(s.lock);
            if (s.count == 0 || s.connected) {
                CloseHandle(s.connector);
                s.connector = nullptr;
                return 0;
            }
            generation = s.generation;
            token = s.token;
        }
        auto probe = OpenChannel(token);
        if (probe) {
            std::lock_guard<std::mutex> guard(s.lock);
            if (s.generation == generation && s.count > 0) {
                s.connected = true;
                s.channels.push_back(probe);
                SignalInits(s);
            }
            continue;
        }
        Sleep(kRetryMs);
    }
}

void StartConnector(Session& s) {
    if (!s.connector) s.connector = CreateThread(nullptr, 0, ConnectLoop, nullptr, 0, nullptr);
}

}  // namespace

HRESULT InitSession(HANDLE* initEvent) {
    Session& s = TheSession();
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!event) return HRESULT_FROM_WIN32(GetLastError());
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.count++ == 0) {
        ++s.generation;
        RandomBytes(s.token.data(), s.token.size());
    }
    s.inits.push_back({event, GetCurrentThreadId()});
    if (s.connected)
        SetEvent(event);
    else
        StartConnector(s);
    *initEvent = event;
    return S_OK;
}

HRESULT UninitSession() {
    Session& s = TheSession();
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.count == 0) return E_FAIL;
    // The most recent start of this thread pairs with this stop.
    auto it = s.inits.end();
    for (auto i = s.inits.begin(); i != s.inits.end(); ++i)
        if (i->thread == GetCurrentThreadId()) it = i;
    if (it == s.inits.end()) it = s.inits.end() - 1;
    CloseHandle(it->event);
    s.inits.erase(it);
    if (--s.count == 0) {
        s.connected = false;
        ++s.generation;
        for (auto& weak : s.channels)
            if (auto channel = weak.lock()) channel->Shutdown();
        s.channels.clear();
    }
    return S_OK;
}

DWORD ThreadLastError() { return Thread().lastError; }
void SetThreadLastError(DWORD error) { Thread().lastError = error; }

HRESULT LastTransportError() {
    Session& s = TheSession();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.lastTransportError;
}

void ReleaseThread() {
    auto* state = static_cast<ThreadState*>(TlsGetValue(TlsSlot()));
    delete state;
    TlsSetValue(TlsSlot(), nullptr);
}

Call::Call(Op op) : Call(EnterCall(Thread()), op) {}

Call::Call(Buffers& buffers, Op op) : request_(buffers.request), answer_(buffers.answer) {
    BeginFrame(request_, static_cast<uint32_t>(op));
}

Call::~Call() { --Thread().depth; }

// Forgets the thread's connection after a transport failure.
void ChannelFailed(uint64_t generation);

namespace {

// The calling thread's connection to the device, opened when needed; null
// (with the thread's error set) when there is no session or no device.
DeviceChannel* ThreadChannel(uint64_t& generation) {
    Session& s = TheSession();
    ThreadState& thread = Thread();
    SessionToken token;
    {
        std::lock_guard<std::mutex> guard(s.lock);
        generation = s.generation;
        token = s.token;
        if (s.count == 0) {
            thread.lastError = ERROR_DEVICE_NOT_CONNECTED;
            s.lastTransportError = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
            return nullptr;
        }
    }
    if (thread.generation != generation || !thread.channel || !thread.channel->IsOpen()) {
        thread.channel = OpenChannel(token);
        thread.generation = generation;
        if (thread.channel) {
            std::lock_guard<std::mutex> guard(s.lock);
            std::erase_if(s.channels, [](const auto& weak) { return weak.expired(); });
            if (s.generation == generation) s.channels.push_back(thread.channel);
        }
    }
    if (!thread.channel) ChannelFailed(generation);
    return thread.channel.get();
}

}  // namespace

void ChannelFailed(uint64_t generation) {
    Session& s = TheSession();
    ThreadState& thread = Thread();
    thread.channel.reset();
    thread.lastError = ERROR_DEVICE_NOT_CONNECTED;
    std::lock_guard<std::mutex> guard(s.lock);
    s.lastTransportError = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
    if (s.generation == generation && s.count > 0) {
        // The device went away: later starts wait until it is back.
        s.connected = false;
        StartConnector(s);
    }
}

bool Call::Run() {
    uint64_t generation;
    DeviceChannel* channel = ThreadChannel(generation);
    if (!channel) return false;
    if (!channel->Call(request_, answer_)) {
        ChannelFailed(generation);
        return false;
    }
    reader_ = WireReader(answer_);
    Thread().lastError = reader_.U32();
    return true;
}

Pipeline::Pipeline() : channel_(ThreadChannel(generation_)), buffers_(EnterCall(Thread())) {}

Pipeline::~Pipeline() { --Thread().depth; }

WireWriter& Pipeline::Begin(Op op) {
    buffers_.request.Truncate(0);
    BeginFrame(buffers_.request, static_cast<uint32_t>(op));
    return buffers_.request;
}

bool Pipeline::Send() {
    if (channel_ && channel_->Send(buffers_.request)) return true;
    Fail();
    return false;
}

bool Pipeline::Receive() {
    if (channel_ && channel_->Receive(buffers_.answer)) {
        reader_ = WireReader(buffers_.answer);
        Thread().lastError = reader_.U32();
        return true;
    }
    Fail();
    return false;
}

void Pipeline::Fail() {
    if (channel_) ChannelFailed(generation_);
    channel_ = nullptr;
}

}  // namespace vorlan::rapi
