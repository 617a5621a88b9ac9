// Speed of the device connection: round trips per second of a small call
// and MB/s of writing a 64 MiB file to the device, beside a local copy of
// the same file. Every figure is printed only after its result is checked.
//
//   ninja -C build rapi_bench
//   tools/wine-run build/wineprefix build/platform/device/bench/rapi_bench.exe
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CeRapi.h"
#include "Crc32.h"
#include "DeviceEmulator.h"

using vorlan::testing::DeviceEmulator;
using vorlan::testing::RapiSession;

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

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

}  // namespace

int main() {
    DeviceEmulator device;
    device.UseForRapi();
    RapiSession session;
    if (!session.Connected()) return Fail("the emulator did not answer");

    const int calls = 20000;
    LARGE_INTEGER start = Now();
    for (int i = 0; i < calls; ++i)
        if (CeGetFileAttributes(L"\\Windows") != FILE_ATTRIBUTE_DIRECTORY) return Fail("a call failed");
    double small = Seconds(start, Now());
    std::printf("CeGetFileAttributes: %d calls in %.3f s, %.0f round trips per second\n", calls, small, calls / small);

    const size_t size = 64u << 20;
    std::vector<char> data(size);
    uint32_t x = 12345;
    for (auto& c : data) c = static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
    uint32_t expected = vorlan::Crc32Update(data.data(), data.size());
    std::wstring source = device.State() + L"\\bench-source.bin", copy = device.State() + L"\\bench-copy.bin";
    HANDLE h = CreateFileW(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (h == INVALID_HANDLE_VALUE || !WriteFile(h, data.data(), static_cast<DWORD>(size), &written, nullptr) ||
        !CloseHandle(h) || written != size)
        return Fail("cannot write the source file");

    start = Now();
    if (!CopyFileW(source.c_str(), copy.c_str(), FALSE)) return Fail("the local copy failed");
    double local = Seconds(start, Now());
    if (FileCrc(copy) != expected) return Fail("the local copy differs");

    start = Now();
    h = CeCreateFile(L"\\My Documents\\bench.bin", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE || !CeWriteFile(h, data.data(), static_cast<DWORD>(size), &written, nullptr) ||
        !CeCloseHandle(h) || written != size)
        return Fail("the device write failed");
    double remote = Seconds(start, Now());
    if (FileCrc(device.HostPath(L"\\My Documents\\bench.bin")) != expected) return Fail("the device file differs");

    const double mb = static_cast<double>(size) / (1 << 20);
    std::printf("local CopyFileW of 64 MiB: %.3f s, %.0f MB/s\n", local, mb / local);
    std::printf("64 MiB written to the device: %.3f s, %.0f MB/s (%.0f%% of the local copy)\n", remote, mb / remote,
                100.0 * local / remote);
    DeleteFileW(source.c_str());
    DeleteFileW(copy.c_str());
    return 0;
}
