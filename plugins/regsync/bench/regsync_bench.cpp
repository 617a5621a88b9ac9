// Speed of the registry engine: items set on an emulated device and on the
// workstation, each kind of value in turn, then the values deleted. Prints
// items per second and device round trips per item (remote API calls,
// counted at the engine's function table). Every figure is printed only
// after the values were read back and found as written.
//
//   ninja -C build regsync_bench
//   tools/wine-run "$PWD/build/wineprefix" build/plugins/regsync/bench/regsync_bench.exe [items]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "CountedCalls.h"
#include "DeviceEmulator.h"
#include "RegSync.h"
#include "SideRegistry.h"
#include "TestSupport.h"

using namespace vorlan;

namespace {

std::unique_ptr<CQvCERapiWrapper> CountingSide(BOOL device) {
    auto table = std::make_unique<CQvCERapiWrapper>(device);
    if (!device) return table;
    COUNT_DEVICE_CALLS(table, RegOpenKeyEx);
    COUNT_DEVICE_CALLS(table, RegCreateKeyEx);
    COUNT_DEVICE_CALLS(table, RegCloseKey);
    COUNT_DEVICE_CALLS(table, RegDeleteKey);
    COUNT_DEVICE_CALLS(table, RegDeleteValue);
    COUNT_DEVICE_CALLS(table, RegSetValueEx);
    COUNT_DEVICE_CALLS(table, RegQueryValueEx);
    return table;
}

struct Kind {
    const char* type;  // the device's keyword; the workstation's has "LOCAL_" before it
    const char* value;
    DWORD storedType;
    DWORD storedSize;
};

constexpr Kind kKinds[] = {
    {"REG_SZ", "a text of some length", REG_SZ, 44},
    {"REG_DWORD", "4294967295", REG_DWORD, 4},
    {"REG_BINARY", "00, 11, 22, 33, 44, 55, 66, 77", REG_BINARY, 8},
    {"REG_MULTI_SZ", "one|two|three", REG_MULTI_SZ, 30},
};

}  // namespace

int main(int argc, char** argv) {
    const int items = argc > 1 ? std::atoi(argv[1]) : 2000;
    testing::DeviceEmulator device;
    device.UseForRapi();
    regsync::CRegSync engine;
    engine.SetSideFactory(&CountingSide);
    if (FAILED(engine.Init())) return 1;
    const std::string base = "HKEY_CURRENT_USER\\Software\\Dravenhall\\VorlanBench\\" + testing::UniqueName("Run");

    std::printf("%d items of each kind, one value each in 10 keys\n", items);
    bool ok = true;
    for (const bool onDevice : {true, false}) {
        const CQvCERapiWrapper reader(onDevice);
        const std::string prefix = onDevice ? "" : "LOCAL_";
        for (const Kind& kind : kKinds) {
            const auto path = [&](int i) {
                return base + "\\" + kind.type + std::to_string(i % 10) + "\\v" + std::to_string(i);
            };
            const unsigned long callsBefore = testing::g_deviceCalls;
            const double from = testing::SteadySeconds();
            for (int i = 0; i < items && ok; ++i)
                ok = engine.ApplyRegistryItem(path(i), kind.value, prefix + kind.type) == S_OK;
            const double seconds = testing::SteadySeconds() - from;
            const unsigned long calls = testing::g_deviceCalls - callsBefore;
            for (int i = 0; i < items && ok; i += items / 20 > 0 ? items / 20 : 1) {
                BYTE data[64];
                DWORD type = 0, size = sizeof data;
                ok = QueryValueByPath(reader, path(i), data, &type, &size) == ERROR_SUCCESS &&
                     type == kind.storedType && size == kind.storedSize;
            }
            if (!ok) {
                std::fprintf(stderr, "regsync_bench: a %s value was not set as asked\n", kind.type);
                return 1;
            }
            std::printf("%-12s %-14s %8.0f items/s   %4.2f device round trips per item\n",
                        onDevice ? "device" : "workstation", kind.type, items / seconds,
                        static_cast<double>(calls) / items);
        }
        // The values go again, one by one.
        const unsigned long callsBefore = testing::g_deviceCalls;
        const double from = testing::SteadySeconds();
        for (int i = 0; i < items && ok; ++i)
            ok = engine.ApplyRegistryItem(base + "\\REG_SZ" + std::to_string(i % 10) + "\\v" + std::to_string(i), "",
                                          onDevice ? "QV_REG_DELETE_VALUE" : "QV_LOCAL_REG_DELETE_VALUE") == S_OK;
        const double seconds = testing::SteadySeconds() - from;
        const unsigned long calls = testing::g_deviceCalls - callsBefore;
        BYTE data[64];
        DWORD type = 0, size = sizeof data;
        if (!ok || QueryValueByPath(reader, base + "\\REG_SZ0\\v0", data, &type, &size) != ERROR_FILE_NOT_FOUND) {
            std::fprintf(stderr, "regsync_bench: a value was not deleted\n");
            return 1;
        }
        std::printf("%-12s %-14s %8.0f items/s   %4.2f device round trips per item\n",
                    onDevice ? "device" : "workstation", "delete value", items / seconds,
                    static_cast<double>(calls) / items);
        // The run's keys go whole.
        const std::string deleteKey = onDevice ? "QV_REG_DELETE_KEY" : "QV_LOCAL_REG_DELETE_KEY";
        for (const Kind& kind : kKinds)
            for (int k = 0; k < 10 && ok; ++k)
                ok = engine.ApplyRegistryItem(base + "\\" + kind.type + std::to_string(k), "", deleteKey) == S_OK;
        if (!ok || engine.ApplyRegistryItem(base, "", deleteKey) != S_OK) {
            std::fprintf(stderr, "regsync_bench: the run's keys were not deleted\n");
            return 1;
        }
    }
    return 0;
}
