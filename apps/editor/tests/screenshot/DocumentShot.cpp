// The boxes the document shows, as a user sees them (run by
// tools/gui-screenshots): the fallback's box while a row of an unknown kind
// is edited, the recording plug-in's item dialog, and message 110 when a
// write-protected table is saved. A second thread waits for each, takes
// its picture and closes it.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>

#include "BrovikDoc.h"
#include "HostSupport.h"
#include "TestSupport.h"
#include "WindowCapture.h"

namespace {

using namespace vorlan::editor;
using namespace vorlan::editor::testing;

// Runs show while a second thread pictures the dialog captioned caption
// and presses button; whether the picture was saved.
template <class Show>
bool Picture(const char* caption, const char* name, int button, Show show) {
    bool saved = false;
    DialogDriver driver([&] {
        HWND box = WaitForDialog(caption);
        if (!box) return;
        const std::string file = vorlan::testing::SaveScreenshot(box, name);
        saved = !file.empty() && file.rfind("failed", 0) != 0;
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
    const HRESULT hr = show();
    driver.Join();
    std::printf("%s: 0x%08lX, picture %s\n", name, static_cast<unsigned long>(hr), saved ? "saved" : "not saved");
    return saved;
}

}  // namespace

int main() {
    // The user's real boxes, not the unattended answer of test runs.
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_ANSWER", nullptr);
    SetEnvironmentVariableA("VORLAN_RECORDER_DIALOG", "1");
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool all = false;
    {
        ScopedPluginList list;
        vorlan::testing::TempFolder folder;
        const std::string unknown = folder / "unknown.xml";
        vorlan::testing::WriteFileBytes(unknown, TableText("\t<MysterySync A=\"1\"/>\n"));
        const std::string locked = folder / "locked.xml";
        vorlan::testing::WriteFileBytes(locked, TableText("\t<RecorderSync Name=\"a\" Value=\"1\"/>\n"));
        SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);

        CBrovikDoc doc;
        auto unknownTable = std::make_unique<CVorlanPlugin>();
        auto lockedTable = std::make_unique<CVorlanPlugin>();
        if (unknownTable->OpenTable("Unknown", unknown, 0) == S_FALSE &&
            lockedTable->OpenTable("Locked", locked, 0) == S_OK) {
            CVorlanPlugin* fallback = unknownTable.get();
            CVorlanPlugin* recorder = lockedTable.get();
            doc.AddPlugin(reinterpret_cast<HTREEITEM>(1), std::move(unknownTable));
            doc.AddPlugin(reinterpret_cast<HTREEITEM>(2), std::move(lockedTable));
            const bool box = Picture("Ebrinth", "unknown-plugin", IDOK, [&] { return fallback->EditRow(0); });
            const bool dialog = Picture("Recorder item", "recorder-item-dialog", IDOK, [&] {
                return recorder->EditRow(0);
            });
            doc.SetProjectModified(TRUE);
            const bool save = Picture("Vorlan Explorer", "cannot-save", IDOK, [&] { return doc.SaveAllPlugins(); });
            all = box && dialog && save && doc.IsModified();
        }
        SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    CoUninitialize();
    return all ? 0 : 1;
}
