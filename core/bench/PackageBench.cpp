// Speed of the package engine: a table of 100,000 rows handed to a plug-in
// that does nothing with them, against an emulated device. Prints rows per
// second of the whole run and the share spent reading the XML table.
//
//   tools/wine-run build/wineprefix build/core/bench/package_bench.exe [rows]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "Bstr.h"
#include "ComPtr.h"
#include "DeviceEmulator.h"
#include "TestSupport.h"
#include "XmlSql.h"
#include "corvath.h"

using namespace vorlan;
using Clock = std::chrono::steady_clock;

namespace {

bool RegisterModule(const char* unixPath) {
    HMODULE module = LoadLibraryA(testing::WindowsPath(unixPath).c_str());
    if (!module) return false;
    auto reg = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
    const bool ok = reg && SUCCEEDED(reg());
    FreeLibrary(module);
    return ok;
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    testing::ComScope com;
    for (const char* module : {PINDREL_PATH, RECORDER_PATH, CORVATH_PATH}) {
        if (!RegisterModule(module)) {
            std::fprintf(stderr, "cannot register %s\n", module);
            return 1;
        }
    }
    testing::TempFolder folder;
    testing::DeviceEmulator device;
    device.UseForRapi();
    SetEnvironmentVariableA("VORLAN_RECORDER_JOURNAL", nullptr);

    std::string items = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>";
    for (int i = 0; i < rows; ++i)
        items += "\n\t<RecorderSync Name=\"item " + std::to_string(i) + "\" Value=\"\\Windows\\file" +
                 std::to_string(i) + ".txt\"/>";
    items += "\n</root>\n";
    testing::WriteFileBytes(folder / "items.xml", items);
    testing::WriteFileBytes(folder / "top.xml",
                            "<root>\n\t<PlugInsCfg ProgId=\"Recorder.Vorlan\" ConfigUrl=\"items.xml\" "
                            "Name=\"Bench\" AlwaysSync=\"1\"/>\n</root>\n");

    // The table read alone, to tell the XML's share of a run.
    auto started = Clock::now();
    CXmlSql sql;
    CMapArray* read = nullptr;
    if (sql.Execute(folder / "items.xml", &read) != S_OK || !read || read->GetSize() != rows) {
        std::fprintf(stderr, "the table did not read back with %d rows\n", rows);
        return 1;
    }
    const double readSeconds = Seconds(started);

    com::ComPtr<IVorlanMain> main;
    if (FAILED(com::CreateInstance(CLSID_VorlanMain, main))) {
        std::fprintf(stderr, "cannot create the core\n");
        return 1;
    }
    main->Init();
    started = Clock::now();
    const HRESULT hr = main->Sync(com::Bstr::FromAnsi(folder / "top.xml").Get());
    const double runSeconds = Seconds(started);
    if (hr != S_OK) {
        std::fprintf(stderr, "the run failed: 0x%08lX\n", static_cast<unsigned long>(hr));
        return 1;
    }
    std::printf("rows: %d\nrun: %.2f s, %.0f rows/s\nXML read: %.2f s (%.0f%% of the run)\n", rows,
                runSeconds, rows / runSeconds, readSeconds, 100.0 * readSeconds / runSeconds);
    return 0;
}
