// Not a test: the time of opening a 20,000-row table, editing one row in
// its plug-in's dialog and saving it (docs/editor-document.md). The table
// lives on the desktop, so no step talks to the device.
#include <windows.h>
#include <ole2.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "BrovikDoc.h"
#include "HostSupport.h"
#include "TestSupport.h"

namespace {

using namespace vorlan::editor;
using namespace vorlan::editor::testing;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 20000;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    SetEnvironmentVariableA("VORLAN_RECORDER_DIALOG", "1");
    int status = 1;
    {
        ScopedPluginList list;
        vorlan::testing::TempFolder folder;
        std::string text;
        for (int i = 0; i < rows; ++i)
            text += "\t<RecorderSync Name=\"HKLM\\Software\\Bench\\Key" + std::to_string(i) + "\" Value=\"" +
                    std::to_string(i) + "\" Fail=\"\"/>\n";
        const std::string path = folder / "large.xml";
        vorlan::testing::WriteFileBytes(path, TableText(text));

        CBrovikDoc doc;
        auto start = Clock::now();
        auto table = std::make_unique<CVorlanPlugin>();
        const HRESULT opened = table->OpenTable("Large", path, 0);
        const double openSeconds = Seconds(start);
        CVorlanPlugin* large = table.get();
        doc.AddPlugin(reinterpret_cast<HTREEITEM>(1), std::move(table));

        DialogDriver driver([] {
            if (HWND dialog = WaitForDialog("Recorder item")) {
                SendMessageA(GetDlgItem(dialog, 302), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("edited"));
                PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            }
        });
        start = Clock::now();
        const HRESULT edited = large->EditRow(rows / 2);
        const double editSeconds = Seconds(start);
        driver.Join();

        doc.SetProjectModified(TRUE);
        start = Clock::now();
        const HRESULT saved = doc.SaveAllPlugins();
        const double saveSeconds = Seconds(start);

        std::printf("rows %d (device round trips per row: 0)\n", large->GetRowCount());
        std::printf("open  %.3f s (0x%08lX)\n", openSeconds, static_cast<unsigned long>(opened));
        std::printf("edit  %.3f s (0x%08lX), dialog driven from a second thread\n", editSeconds,
                    static_cast<unsigned long>(edited));
        std::printf("save  %.3f s (0x%08lX)\n", saveSeconds, static_cast<unsigned long>(saved));
        // The edit reached the file.
        CVorlanPlugin reread;
        std::string value;
        const bool kept = reread.OpenTable("Large", path, 0) == S_OK && reread.GetRowCount() == rows &&
                          reread.GetCellValue(rows / 2, 1, value) && value == "edited";
        std::printf("edit %s in the saved file\n", kept ? "found" : "NOT found");
        status = opened == S_OK && edited == S_OK && saved == S_OK && kept ? 0 : 1;
    }
    CoUninitialize();
    return status;
}
