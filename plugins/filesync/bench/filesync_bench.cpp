// Speed of the file engine: a folder of 10,000 files of 1 KiB copied to an
// emulated device, then again with nothing changed, beside a copy of the
// same folder on the workstation. Prints files per second and device round
// trips per file (remote API calls that travel to the device, counted at
// the engine's function tables, plus its calls into the device library).
// Every figure is printed only after its result is checked.
//
//   ninja -C build filesync_bench
//   tools/wine-run "$PWD/build/wineprefix" build/plugins/filesync/bench/filesync_bench.exe [files]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "Bstr.h"
#include "CountedCalls.h"
#include "Crc32.h"
#include "DeviceEmulator.h"
#include "FileSync.h"
#include "TestSupport.h"

using namespace vorlan;

namespace {

std::unique_ptr<CQvCERapiWrapper> CountingSide(BOOL device) {
    auto table = std::make_unique<CQvCERapiWrapper>(device);
    if (!device) return table;
    // Every entry the file system uses on the device but the last error,
    // which the remote API keeps on the desktop.
    COUNT_DEVICE_CALLS(table, FindClose);
    COUNT_DEVICE_CALLS(table, GetFileAttributes);
    COUNT_DEVICE_CALLS(table, SetFileAttributes);
    COUNT_DEVICE_CALLS(table, CreateFile);
    COUNT_DEVICE_CALLS(table, ReadFile);
    COUNT_DEVICE_CALLS(table, WriteFile);
    COUNT_DEVICE_CALLS(table, CloseHandle);
    COUNT_DEVICE_CALLS(table, SetFilePointer);
    COUNT_DEVICE_CALLS(table, SetEndOfFile);
    COUNT_DEVICE_CALLS(table, CreateDirectory);
    COUNT_DEVICE_CALLS(table, RemoveDirectory);
    COUNT_DEVICE_CALLS(table, MoveFile);
    COUNT_DEVICE_CALLS(table, CopyFile);
    COUNT_DEVICE_CALLS(table, DeleteFile);
    COUNT_DEVICE_CALLS(table, GetFileSize);
    COUNT_DEVICE_CALLS(table, GetFileTime);
    COUNT_DEVICE_CALLS(table, SetFileTime);
    return table;
}

double Seconds(const std::function<bool()>& run) {
    LARGE_INTEGER frequency, from, to;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&from);
    const bool ok = run();
    QueryPerformanceCounter(&to);
    if (!ok) {
        std::fprintf(stderr, "filesync_bench: a result was wrong\n");
        std::exit(1);
    }
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string Content(int i) {
    std::string bytes(1024, '\0');
    for (size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<char>((i * 131 + k * 7) ^ (k >> 3));
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    testing::DeviceEmulator device(testing::kVorlanInstalled);
    device.UseForRapi();
    if (!device.InstallOstrum()) return 1;
    testing::TempFolder folder;
    const std::string origin = folder / "origin";
    CreateDirectoryA(origin.c_str(), nullptr);
    for (int i = 0; i < files; ++i) testing::WriteFileBytes(origin + "\\f" + std::to_string(i) + ".bin", Content(i));

    filesync::CFileSync engine;
    engine.SetSideFactory(&CountingSide);
    engine.put_ParentUrl(com::Bstr::FromAnsi(folder / "files.xml").Get());
    if (FAILED(engine.Init())) return 1;

    std::printf("%d files of 1 KiB, folder to device (QV_COPY_FOLDER_CONTENT)\n", files);
    const auto run = [&](const char* what, const std::string& destination, const char* operation,
                         unsigned long wantCopied, unsigned long wantUnchanged) {
        const filesync::TransferCounts before = engine.Counts();
        const unsigned long tripsBefore = testing::g_deviceCalls;
        const double seconds = Seconds([&] {
            if (engine.TransferItem("origin", destination, operation, "") != S_OK) return false;
            const filesync::TransferCounts& after = engine.Counts();
            return after.copied - before.copied == wantCopied && after.unchanged - before.unchanged == wantUnchanged;
        });
        const unsigned long trips = testing::g_deviceCalls - tripsBefore + engine.Counts().deviceCalls - before.deviceCalls;
        std::printf("%-22s %8.0f files/s   %5.2f device round trips per file   (%.2f s)\n", what, files / seconds,
                    static_cast<double>(trips) / files, seconds);
    };
    run("first copy", "\\Bench", "QV_COPY_FOLDER_CONTENT", files, 0);
    run("again, unchanged", "\\Bench", "QV_COPY_FOLDER_CONTENT", 0, files);
    run("workstation copy", folder / "copy", "QV_LOCAL_COPY_FOLDER_CONTENT", files, 0);
    run("again, unchanged", folder / "copy", "QV_LOCAL_COPY_FOLDER_CONTENT", 0, files);

    // The platform's own copy of the same files, for scale.
    const std::string plain = folder / "plain";
    CreateDirectoryA(plain.c_str(), nullptr);
    const double copying = Seconds([&] {
        for (int i = 0; i < files; ++i) {
            const std::string name = "\\f" + std::to_string(i) + ".bin";
            if (!CopyFileA((origin + name).c_str(), (plain + name).c_str(), FALSE)) return false;
        }
        return true;
    });
    std::printf("%-22s %8.0f files/s\n", "CopyFile one by one", files / copying);

    // The copies hold what the origin holds.
    for (int i = 0; i < files; i += files / 10 > 0 ? files / 10 : 1) {
        const std::string name = "f" + std::to_string(i) + ".bin";
        const std::string onDevice =
            testing::ReadFileBytes(com::AnsiFromWide(device.HostPath(L"\\Bench\\" + com::WideFromAnsi(name))));
        if (Crc32(onDevice) != Crc32(Content(i)) || testing::ReadFileBytes(folder / ("copy\\" + name)) != Content(i)) {
            std::fprintf(stderr, "filesync_bench: %s differs\n", name.c_str());
            return 1;
        }
    }
    return 0;
}
