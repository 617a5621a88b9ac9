#include "DeviceChannel.h"

#include <windows.h>
#include <bcrypt.h>


namespace vorlan::device {

namespace {

bool ReadSmallFile(const std::wstring& path, std::string& text) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    char buffer[256];
    DWORD got = 0;
    BOOL ok = ReadFile(h, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(h);
    if (!ok) return false;
    text.assign(buffer, got);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return true;
}

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ReadEndpoint(const std::wstring& stateFolder, Endpoint& endpoint) {
    std::string port, secret;
    if (!ReadSmallFile(stateFolder + L"\\endpoint", port) || !ReadSmallFile(stateFolder + L"\\secret", secret))
        return false;
    if (port.empty() || port.size() > 5 || secret.size() != 2 * kSecretSize) return false;
    unsigned long value = 0;
    for (char c : port) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    if (value == 0 || value > 65535) return false;
    for (size_t i = 0; i < kSecretSize; ++i) {
        int high = Hex(secret[2 * i]), low = Hex(secret[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        endpoint.secret[i] = static_cast<uint8_t>(high * 16 + low);
    }
    endpoint.port = static_cast<uint16_t>(value);
    return true;
}

bool RandomBytes(void* data, size_t size) {
    return BCRYPT_SUCCESS(BCryptGenRandom(nullptr, static_cast<PUCHAR>(data), static_cast<ULONG>(size),
                                          BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

bool SharedMemoryWanted() {
    wchar_t value[16];
    DWORD n = GetEnvironmentVariableW(L"VORLAN_DEVICE_TRANSPORT", value, 16);
    return !(n == 3 && _wcsicmp(value, L"tcp") == 0);
}

bool DeviceChannel::Open(const Endpoint& endpoint, Role role, const SessionToken& token) {
    Close();
    if (!socket_.Connect(endpoint.port)) return false;
    WireWriter hello;
    BeginFrame(hello, static_cast<uint32_t>(Op::Hello));
    hello.U32(kHelloMagic);
    hello.U32(kProtocolVersion);
    hello.U32(static_cast<uint32_t>(role));
    hello.Raw(endpoint.secret.data(), endpoint.secret.size());
    hello.Raw(token.data(), token.size());
    std::vector<uint8_t> answer;
    if (!Call(hello, answer) || (SharedMemoryWanted() && !MoveToRing(role))) {
        Close();
        return false;
    }
    return true;
}

// Asks for a ring; an emulator that offers none leaves the socket as it
// was. False only when the connection is lost.
bool DeviceChannel::MoveToRing(Role role) {
    WireWriter request;
    BeginFrame(request, static_cast<uint32_t>(Op::OpenRing));
    request.U32(GetCurrentProcessId());
    request.U32(role == Role::Rapi ? GetCurrentThreadId() : 0);
    std::vector<uint8_t> answer;
    if (!Call(request, answer)) return socket_.IsOpen();
    WireReader r(answer);
    if (r.U32() != 0) return r.Done();  // the device's error: no ring
    // The emulator put these handles into this process; they are ours now.
    HANDLE handles[4];
    for (HANDLE& h : handles) h = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(r.U64()));
    if (!r.Done()) {
        for (HANDLE h : handles)
            if (h) CloseHandle(h);
        return false;
    }
    if (!ring_.Attach(handles[0], handles[1], handles[2], handles[3])) return false;
    // From here on the emulator answers on the ring only.
    link_ = &ring_;
    socket_.Close();
    return true;
}

bool DeviceChannel::Call(WireWriter& request, std::vector<uint8_t>& answer, Status* status) {
    return Send(request) && Receive(answer, status);
}

bool DeviceChannel::Send(WireWriter& request) {
    FinishFrame(request);
    if (link_->Send(request.Buffer())) return true;
    Close();
    return false;
}

bool DeviceChannel::Receive(std::vector<uint8_t>& answer, Status* status) {
    if (!link_->Receive(answer, kMaxFrameBody) || answer.size() < 4) {
        Close();
        return false;
    }
    WireReader r(answer);
    Status s = static_cast<Status>(r.U32());
    if (status) *status = s;
    answer.erase(answer.begin(), answer.begin() + 4);
    return s == Status::Ok;
}

}  // namespace vorlan::device
