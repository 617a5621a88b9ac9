// Speed of the device link as the engines use it: whole files written and
// read back through the dual file system on the device and on the desktop,
// symbolic folder translation, and system variables with and without the
// cache. Every figure is printed only after its result is checked.
//
//   ninja -C build dualfs_bench
//   tools/wine-run build/wineprefix build/common/filesystem/bench/dualfs_bench.exe
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "Bstr.h"
#include "CeDeviceInfo.h"
#include "CeFolders.h"
#include "DeviceEmulator.h"
#include "QvDualFileSystem.h"
#include "TestSupport.h"

using namespace vorlan;

namespace {

double Seconds(const std::function<bool()>& run) { return testing::TimeOrExit(run, "dualfs_bench: a result was wrong"); }

void WholeFiles(CQvDualFileSystem& fs, const std::wstring& path, const char* side) {
    const DWORD size = 16u << 20;
    std::string bytes(size, '\0');
    for (DWORD i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 2654435761u >> 24);
    FILETIME t = {0x12345678, 0x01D00000};
    double write = Seconds([&] {
        return fs.WriteWholeFile(path.c_str(), bytes.data(), size, t, t, t, FILE_ATTRIBUTE_NORMAL) == S_OK;
    });
    double read = Seconds([&] {
        FILETIME lastWrite;
        char* buffer = nullptr;
        DWORD attributes = 0, got = 0;
        if (fs.ReadWholeFile(path.c_str(), &lastWrite, &buffer, &attributes, &got) != S_OK) return false;
        bool same = got == size && bytes.compare(0, size, buffer, got) == 0;
        std::free(buffer);
        return same;
    });
    std::printf("%-8s write %6.1f MB/s   read %6.1f MB/s   (16 MiB)\n", side, 16 / write, 16 / read);
}

// Counts the calls through a side's table that a whole-file write makes:
// on the device each is a round trip.
struct CountedTable {
    static inline int calls = 0;
    static inline CQvCERapiWrapper real{TRUE};

    static std::unique_ptr<CQvCERapiWrapper> Make() {
        auto t = std::make_unique<CQvCERapiWrapper>(TRUE);
        t->GetFileAttributes = [](LPCWSTR a) { return ++calls, real.GetFileAttributes(a); };
        t->SetFileAttributes = [](LPCWSTR a, DWORD b) { return ++calls, real.SetFileAttributes(a, b); };
        t->CreateFile = [](LPCWSTR a, DWORD b, DWORD c, LPSECURITY_ATTRIBUTES d, DWORD e, DWORD f, HANDLE g) {
            return ++calls, real.CreateFile(a, b, c, d, e, f, g);
        };
        t->WriteFile = [](HANDLE a, LPCVOID b, DWORD c, LPDWORD d, LPOVERLAPPED e) {
            return ++calls, real.WriteFile(a, b, c, d, e);
        };
        t->SetFileTime = [](HANDLE a, const FILETIME* b, const FILETIME* c, const FILETIME* d) {
            return ++calls, real.SetFileTime(a, b, c, d);
        };
        t->CloseHandle = [](HANDLE a) { return ++calls, real.CloseHandle(a); };
        t->MoveFile = [](LPCWSTR a, LPCWSTR b) { return ++calls, real.MoveFile(a, b); };
        t->DeleteFile = [](LPCWSTR a) { return ++calls, real.DeleteFile(a); };
        t->GetLastError = [] { return ++calls, real.GetLastError(); };
        return t;
    }
};

// Small files written over old ones on the device, as a synchronisation
// writes most files: time and device calls per file.
void SmallDeviceFiles() {
    CQvDualFileSystem fs;
    fs.SetWrapper(CountedTable::Make());
    const int files = 100;
    const std::string bytes(1024, 'x');
    FILETIME t = {0x12345678, 0x01D00000};
    auto writeAll = [&] {
        for (int i = 0; i < files; ++i) {
            std::wstring path = L"\\Temp\\small" + std::to_wstring(i) + L".bin";
            if (fs.WriteWholeFile(path.c_str(), bytes.data(), 1024, t, t, t, FILE_ATTRIBUTE_NORMAL) != S_OK) return false;
        }
        return true;
    };
    Seconds(writeAll);  // the first pass creates them
    CountedTable::calls = 0;
    double over = Seconds(writeAll);
    std::printf("device   %6.2f ms per 1 KiB file written over an old one, %.1f device calls per file\n",
                over * 1000 / files, static_cast<double>(CountedTable::calls) / files);
}

}  // namespace

int main() {
    testing::DeviceEmulator device("Folder.7 = \\Windows\\Autostart\n");
    device.UseForRapi();
    testing::RapiSession session;
    if (!session.Connected()) return 1;
    CQvDualFileSystem fs;
    fs.SetDevice(TRUE);
    WholeFiles(fs, L"\\Temp\\bench.bin", "device");
    SmallDeviceFiles();
    testing::TempFolder folder;
    fs.SetDevice(FALSE);
    WholeFiles(fs, com::WideFromAnsi(folder / "bench.bin"), "desktop");

    const int calls = 200;
    char out[260];
    double folders = Seconds([&] {
        for (int i = 0; i < calls; ++i)
            if (ExpandCeFolderVariables("%CE_WINDIR%\\a;%CE_MYDOCUMENTS%\\b", out, sizeof out) <= 0) return false;
        return std::string(out) == "\\Windows\\a;\\My Documents\\b";
    });
    std::printf("folders  %6.2f ms per text with two names\n", folders * 1000 / calls);

    CCeDeviceInfo info;
    if (FAILED(info.Init())) return 1;
    const std::string url = "file:///C:/p/%DEVICE_NAME%/%OS_VER%/%OWNER_NAME_URL%.xml";
    std::string replaced;
    double first = Seconds([&] {
        info.ResetProxy();
        info.ReplaceSystemVariables(url, replaced);
        return replaced == "file:///C:/p/Emulated/4.20/.xml";
    });
    double cached = Seconds([&] {
        for (int i = 0; i < calls; ++i) info.ReplaceSystemVariables(url, replaced);
        return replaced == "file:///C:/p/Emulated/4.20/.xml";
    });
    std::printf("variables %5.2f ms after a reset, %5.2f ms cached (the name is read every time)\n", first * 1000,
                cached * 1000 / calls);
    return 0;
}
