// Answers to a test's control requests.
#include "DeviceCalls.h"
#include "Handlers.h"

namespace vorlan::device {

void OnReadJournal(Request& r) {
    uint64_t offset = r.in.U64();
    if (!r.in.Done()) return;
    std::wstring path = Server::Instance()->State() + L"\\journal.log";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    size_t at = r.out.Size();
    r.out.U32(0);
    if (h == INVALID_HANDLE_VALUE) return;  // nothing journaled yet
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    if (SetFilePointerEx(h, position, nullptr, FILE_BEGIN)) {
        uint8_t* data = r.out.Reserve(kDataChunk);
        if (!ReadFile(h, data, kDataChunk, &got, nullptr)) got = 0;
    }
    CloseHandle(h);
    r.out.Truncate(at + 4 + got);
    r.out.PatchU32(at, got);
}

void OnHoldFile(Request& r) {
    Text16 path(r.in);
    DWORD access = r.in.U32(), share = r.in.U32();
    if (!r.in.Done()) return;
    HANDLE h = Ce.CreateFileW(path, access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    r.error = GetLastError();
    r.out.U32(h == INVALID_HANDLE_VALUE ? 0 : r.session.Add(DeviceHandle::File, h));
}

void OnReleaseFile(Request& r) {
    uint32_t id = r.in.U32();
    if (!r.in.Done()) return;
    r.out.U32(r.session.Close(id));
}

void OnSetUnreadable(Request& r) {
    Text16 path(r.in);
    BOOL unreadable = r.in.U32();
    if (!r.in.Done()) return;
    r.out.U32(Ce.DeviceSetUnreadable(path, unreadable));
}

void OnDisconnect(Request& r) {
    if (!r.in.Done()) return;
    Server::Instance()->Disconnect();
}

void OnReconnect(Request& r) {
    if (!r.in.Done()) return;
    Server::Instance()->Reconnect();
}

void OnQueueMessageBoxAnswer(Request& r) {
    int answer = r.in.I32();
    if (!r.in.Done()) return;
    Ce.DeviceQueueMessageBoxAnswer(answer);
}

void OnShutdown(Request& r) {
    if (!r.in.Done()) return;
    Ce.DeviceFlush();
    DeleteFileW((Server::Instance()->State() + L"\\endpoint").c_str());
    // The answer goes out first; the process ends right after.
    CreateThread(nullptr, 0, [](void*) -> DWORD {
        Sleep(50);
        ExitProcess(0);
    }, nullptr, 0, nullptr);
}

void OnConnections(Request& r) {
    if (!r.in.Done()) return;
    uint32_t sockets, rings;
    Server::Instance()->CountConnections(sockets, rings);
    r.out.U32(sockets);
    r.out.U32(rings);
}

void OnRootCheckTime(Request& r) {
    if (!r.in.Done()) return;
    ULONGLONG nanoseconds = 0, checks = 0;
    Ce.DeviceRootCheckTime(&nanoseconds, &checks);
    r.out.U64(nanoseconds);
    r.out.U64(checks);
}

Handler RapiHandler(Op op) {
    switch (op) {
#define VORLAN_CASE(name) \
    case Op::name:        \
        return On##name;
        VORLAN_RAPI_HANDLERS(VORLAN_CASE)
#undef VORLAN_CASE
        default:
            return nullptr;
    }
}

Handler ControlHandler(Op op) {
    switch (op) {
#define VORLAN_CASE(name) \
    case Op::name:        \
        return On##name;
        VORLAN_CONTROL_HANDLERS(VORLAN_CASE)
#undef VORLAN_CASE
        default:
            return nullptr;
    }
}

}  // namespace vorlan::device
