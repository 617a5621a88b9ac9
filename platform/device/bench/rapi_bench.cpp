// Speed of the device connection over each of its transports: small calls
// per second (a folder and a file), the share of a small call the device
// spends checking that the path stays inside its root, and MB/s of writing
// a 64 MiB file to the device beside a local copy of the same file; then a
// bare ping-pong over the shared-memory ring between two processes. Every
// figure is printed only after its result is checked, with the round trips
// each item took.
//
//   ninja -C build rapi_bench
//   tools/wine-run "$PWD/build/wineprefix" build/platform/device/bench/rapi_bench.exe
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CeRapi.h"
#include "Crc32.h"
#include "DeviceEmulator.h"
#include "TestSupport.h"
#include "SharedRing.h"

using vorlan::testing::DeviceEmulator;
using vorlan::testing::RapiSession;

namespace {

uint32_t FileCrc(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    std::vector<char> buffer(1 << 20);
    uint32_t crc = 0;
    DWORD got = 0;
    while (ReadFile(h, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got)
        crc = vorlan::Crc32Update(buffer.data(), got, crc);
    CloseHandle(h);
    return crc;
}

int Fail(const char* what) {
    std::fprintf(stderr, "rapi_bench: %s\n", what);
    return 1;
}

// Small calls naming path, each one round trip; the device's root check share.
bool SmallCalls(DeviceEmulator& device, const char* transport, const wchar_t* path, DWORD expected, const char* what) {
    const int calls = 20000;
    uint64_t checkStart = 0, checkEnd = 0, checks = 0;
    if (!device.RootCheckTime(checkStart, checks)) return false;
    const double start = vorlan::testing::SteadySeconds();
    for (int i = 0; i < calls; ++i)
        if (CeGetFileAttributes(path) != expected) return false;
    double seconds = vorlan::testing::SteadySeconds() - start;
    if (!device.RootCheckTime(checkEnd, checks)) return false;
    double perCall = seconds * 1e6 / calls, check = static_cast<double>(checkEnd - checkStart) / 1e3 / calls;
    std::printf("%-3s CeGetFileAttributes of %s: %.0f calls per second, 1 round trip per call; root check %.1f of "
                "%.1f us (%.0f%%)\n",
                transport, what, calls / seconds, check, perCall, 100.0 * check / perCall);
    return true;
}

int RunTransport(const wchar_t* variable, const char* transport, const std::vector<char>& data, uint32_t expected) {
    SetEnvironmentVariableW(L"VORLAN_DEVICE_TRANSPORT", variable);
    DeviceEmulator device;
    device.UseForRapi();
    RapiSession session;
    if (!session.Connected()) return Fail("the emulator did not answer");
    HANDLE h = CeCreateFile(L"\\My Documents\\small.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE || !CeCloseHandle(h)) return Fail("cannot make the small file");
    uint32_t sockets = 0, rings = 0;
    if (!device.Connections(sockets, rings) || (rings == 1) != (variable == nullptr))
        return Fail("the connection does not run over the transport measured");
    if (!SmallCalls(device, transport, L"\\Windows", FILE_ATTRIBUTE_DIRECTORY, "a folder") ||
        !SmallCalls(device, transport, L"\\My Documents\\small.txt", FILE_ATTRIBUTE_ARCHIVE, "a file  "))
        return Fail("a small call failed");

    const size_t size = data.size();
    const double start = vorlan::testing::SteadySeconds();
    DWORD written = 0;
    h = CeCreateFile(L"\\My Documents\\bench.bin", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE || !CeWriteFile(h, data.data(), static_cast<DWORD>(size), &written, nullptr) ||
        !CeCloseHandle(h) || written != size)
        return Fail("the device write failed");
    double remote = vorlan::testing::SteadySeconds() - start;
    if (FileCrc(device.HostPath(L"\\My Documents\\bench.bin")) != expected) return Fail("the device file differs");
    std::printf("%-3s 64 MiB written to the device: %.3f s, %.0f MB/s, 66 round trips (one per MiB, open, close)\n",
                transport, remote, static_cast<double>(size) / (1 << 20) / remote);
    return 0;
}

// The other end of the bare ping-pong: reads the ring's handles from its
// input, then sends back every frame it gets.
int Echo() {
    char text[128] = {};
    DWORD got = 0;
    if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), text, sizeof text - 1, &got, nullptr)) return 2;
    unsigned long long values[4] = {};
    if (std::sscanf(text, "%llu %llu %llu %llu", &values[0], &values[1], &values[2], &values[3]) != 4) return 2;
    HANDLE h[4];
    for (int i = 0; i < 4; ++i) h[i] = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(values[i]));
    vorlan::device::SharedRing ring;
    if (!ring.Attach(h[0], h[1], h[2], h[3])) return 3;
    std::vector<uint8_t> body, frame;
    while (ring.Receive(body, 64)) {
        frame.assign({static_cast<uint8_t>(body.size()), 0, 0, 0});
        frame.insert(frame.end(), body.begin(), body.end());
        if (!ring.Send(frame)) return 4;
    }
    return 0;
}

// A handle of this process put into another; null when it cannot be.
HANDLE Give(HANDLE own, HANDLE process, DWORD access = 0, DWORD options = DUPLICATE_SAME_ACCESS) {
    HANDLE theirs = nullptr;
    DuplicateHandle(GetCurrentProcess(), own, process, &theirs, access, FALSE, options);
    return theirs;
}

int PingPong() {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE input = nullptr, feed = nullptr;
    if (!CreatePipe(&input, &feed, &inherit, 0) || !SetHandleInformation(feed, HANDLE_FLAG_INHERIT, 0))
        return Fail("no pipe for the echo");
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(exe) + L"\" --echo";
    STARTUPINFOW startup = {sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &pi))
        return Fail("cannot start the echo");
    CloseHandle(input);
    // As the emulator does: the ring watches the other process, whose copies of its handles it makes.
    vorlan::device::SharedRing ring;
    HANDLE echo = Give(pi.hProcess, GetCurrentProcess());
    if (!echo || !ring.Create(echo)) return Fail("no ring");
    HANDLE given[4] = {Give(ring.Mapping(), pi.hProcess), Give(ring.DeviceEvent(), pi.hProcess),
                       Give(ring.DesktopEvent(), pi.hProcess), Give(GetCurrentProcess(), pi.hProcess, SYNCHRONIZE, 0)};
    std::string text;
    for (HANDLE h : given) text += std::to_string(reinterpret_cast<uintptr_t>(h)) + " ";
    DWORD sent = 0;
    if (!WriteFile(feed, text.data(), static_cast<DWORD>(text.size()), &sent, nullptr)) return Fail("the echo is gone");
    CloseHandle(feed);

    const int trips = 200000;
    std::vector<uint8_t> frame = {12, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, body;
    const double start = vorlan::testing::SteadySeconds();
    for (int i = 0; i < trips; ++i) {
        frame[4] = static_cast<uint8_t>(i);
        if (!ring.Send(frame) || !ring.Receive(body, 64) || body.size() != 12 || body[0] != frame[4])
            return Fail("the ping-pong lost a frame");
    }
    double seconds = vorlan::testing::SteadySeconds() - start;
    ring.Close();
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    std::printf("bare shared-memory ping-pong between two processes: %.0f round trips per second (%.2f us each)\n",
                trips / seconds, seconds * 1e6 / trips);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wstring(argv[1]) == L"--echo") return Echo();
    const size_t size = 64u << 20;
    std::vector<char> data(size);
    uint32_t x = 12345;
    for (auto& c : data) c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
    uint32_t expected = vorlan::Crc32Update(data.data(), data.size());

    // The local copy the device write is compared with.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring source = std::wstring(temp) + L"vorlan-bench-source.bin", copy = std::wstring(temp) + L"vorlan-bench-copy.bin";
    HANDLE h = CreateFileW(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (h == INVALID_HANDLE_VALUE || !WriteFile(h, data.data(), static_cast<DWORD>(size), &written, nullptr) ||
        !CloseHandle(h) || written != size)
        return Fail("cannot write the source file");
    const double start = vorlan::testing::SteadySeconds();
    if (!CopyFileW(source.c_str(), copy.c_str(), FALSE)) return Fail("the local copy failed");
    double local = vorlan::testing::SteadySeconds() - start;
    bool same = FileCrc(copy) == expected;
    DeleteFileW(source.c_str());
    DeleteFileW(copy.c_str());
    if (!same) return Fail("the local copy differs");
    std::printf("local CopyFileW of 64 MiB: %.3f s, %.0f MB/s\n", local, static_cast<double>(size) / (1 << 20) / local);

    if (int failed = RunTransport(nullptr, "shm", data, expected)) return failed;
    if (int failed = RunTransport(L"tcp", "tcp", data, expected)) return failed;
    return PingPong();
}
