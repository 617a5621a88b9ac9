// Speed of the file engine: a folder of 10,000 files of 1 KiB copied to an
// emulated device, then again with nothing changed, beside a copy of the
// same folder on the workstation; then a folder of as many files kept in
// step both ways: first, unchanged, and with 1% changed on each side. Prints files per second and device round
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

double Seconds(const std::function<bool()>& run) { return testing::TimeOrExit(run, "filesync_bench: a result was wrong"); }

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

    // Two-way: the desktop's state file lives in the benchmark's folder.
    const std::string appData = folder / "appdata";
    CreateDirectoryA(appData.c_str(), nullptr);
    SetEnvironmentVariableA("APPDATA", appData.c_str());
    const std::string twoWay = folder / "two-way";
    CreateDirectoryA(twoWay.c_str(), nullptr);
    for (int i = 0; i < files; ++i) testing::WriteFileBytes(twoWay + "\\f" + std::to_string(i) + ".bin", Content(i));
    std::printf("%d files of 1 KiB kept in step (QV_TWO_WAY_FOLDER_SYNC)\n", files);
    const auto sync = [&](const char* what, unsigned long wantCopied) {
        const filesync::TransferCounts before = engine.Counts();
        const unsigned long tripsBefore = testing::g_deviceCalls;
        const double stateBefore = engine.StateWriteMilliseconds();
        const double seconds = Seconds([&] {
            if (engine.TransferItem(twoWay, "\\TwoWay", "QV_TWO_WAY_FOLDER_SYNC", "") != S_OK) return false;
            return engine.Counts().copied - before.copied == wantCopied;
        });
        const unsigned long trips = testing::g_deviceCalls - tripsBefore + engine.Counts().deviceCalls - before.deviceCalls;
        std::printf("%-22s %8.0f files/s   %5.2f device round trips per file   (%.2f s, state file written in %.1f ms)\n",
                    what, files / seconds, static_cast<double>(trips) / files, seconds,
                    engine.StateWriteMilliseconds() - stateBefore);
    };
    sync("first", files);
    sync("again, unchanged", 0);
    const auto edited = [](int i) { return Content(i) + " edited"; };
    unsigned long changed = 0;
    for (int i = 0; i < files; i += 100) {
        testing::WriteFileBytes(twoWay + "\\f" + std::to_string(i) + ".bin", edited(i));
        ++changed;
        if (i + 50 < files) {
            testing::WriteFileBytes(
                com::AnsiFromWide(device.HostPath(L"\\TwoWay\\f" + std::to_wstring(i + 50) + L".bin")), edited(i + 50));
            ++changed;
        }
    }
    sync("1% changed each side", changed);
    for (int i = 0; i < files; i += 50) {
        const std::string name = "f" + std::to_string(i) + ".bin";
        const std::string want = i % 100 == 0 || i % 100 == 50 ? edited(i) : Content(i);
        if (testing::ReadFileBytes(twoWay + "\\" + name) != want ||
            testing::ReadFileBytes(com::AnsiFromWide(device.HostPath(L"\\TwoWay\\" + com::WideFromAnsi(name)))) != want) {
            std::fprintf(stderr, "filesync_bench: two-way %s differs\n", name.c_str());
            return 1;
        }
    }

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
