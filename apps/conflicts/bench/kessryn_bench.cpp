// Speed of Kessryn's listing: a state file of 2,000 conflicts (device and
// desktop files all there) opened in the window and scrolled to the last
// row, then the parts of that on their own: reading the state file,
// building the rows, parsing them, laying them out, asking the device for
// each pair's attributes and making the page's controls. Prints seconds
// and the device calls per row (paths the device checked, which every
// path call makes once). Every figure is printed only after its result is
// checked.
//
//   ninja -C build kessryn_bench
//   tools/wine-run "$PWD/build/wineprefix" build/apps/conflicts/bench/kessryn_bench.exe [rows]
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Bstr.h"
#include "CeRapi.h"
#include "ConflictRows.h"
#include "DeviceEmulator.h"
#include "HtmlLayout.h"
#include "HtmlTree.h"
#include "KessrynDlg.h"
#include "MessageBox.h"
#include "Resource.h"
#include "Resources.h"
#include "StateFile.h"
#include "TestSupport.h"

using namespace vorlan;

namespace {

double Seconds(const std::function<bool()>& run, const char* what) {
    return testing::TimeOrExit(run, std::string("kessryn_bench: ") + what + " failed");
}

// Text measured as the host measures it, on a screen-compatible DC.
class Measure : public HtmlMeasure {
public:
    Measure() : dc_(CreateCompatibleDC(nullptr)) {
        font_ = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
        SelectObject(dc_, font_);
    }
    ~Measure() override {
        DeleteDC(dc_);
        DeleteObject(font_);
    }
    SIZE Text(const std::wstring& text, const HtmlStyle&) override {
        SIZE size = {0, 13};
        if (!text.empty()) GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }
    SIZE Image(const std::string&) override { return {32, 32}; }

private:
    HDC dc_;
    HFONT font_;
};

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 2000;
    testing::ComScope com;
    testing::TempFolder appData, desktop;
    testing::ScopedEnvironment variable("APPDATA", appData.Path());
    testing::DeviceEmulator device(std::string(testing::kVorlanInstalled) + "DeviceName = Bench\n");
    device.UseForRapi();
    ScopedMessageBoxAnswerer answerer([](const MessageBoxRequest& box) {
        std::fprintf(stderr, "kessryn_bench: unexpected box: %s\n", box.text.c_str());
        std::exit(1);
        return IDOK;
    });

    CreateDirectoryW(device.HostPath(L"\\My Documents\\Work").c_str(), nullptr);
    std::string file;
    std::vector<conflicts::Conflict> pairs;
    for (int i = 1; i <= rows; ++i) {
        const std::string name = "file" + std::to_string(i) + ".txt";
        pairs.push_back({desktop / name, "\\My Documents\\Work\\" + name});
        testing::WriteFileBytes(pairs.back().desktop, "desktop");
        testing::WriteFileBytes(com::AnsiFromWide(device.HostPath(com::WideFromAnsi(pairs.back().device))), "device");
        file += "[" + pairs.back().desktop + "]\r\nCRC=1\r\nConflitant=" + pairs.back().device + "\r\n";
    }
    CreateDirectoryA((appData / "Dravenhall").c_str(), nullptr);
    CreateDirectoryA((appData / "Dravenhall\\Vorlan").c_str(), nullptr);
    const std::string statePath = appData / "Dravenhall\\Vorlan\\TwoWaySyncData-Bench.ini";
    testing::WriteFileBytes(statePath, file);

    uint64_t ns = 0, checksBefore = 0, checksAfter = 0;
    device.RootCheckTime(ns, checksBefore);
    std::unique_ptr<conflicts::CKessrynDlg> dialog;
    const double total = Seconds(
        [&] {
            dialog = std::make_unique<conflicts::CKessrynDlg>();
            if (!dialog->Create()) return false;
            ShowWindow(dialog->m_hWnd, SW_SHOW);
            vorlan::testing::PumpMessages();
            dialog->ScrollIntoView(conflicts::RadioId(3, rows));
            vorlan::testing::PumpMessages();
            return dialog->Conflicts().size() == static_cast<size_t>(rows) && dialog->ScrollPosition() > 0 &&
                   dialog->GetElementWindow(conflicts::RadioId(3, rows)) != nullptr;
        },
        "the listing");
    device.RootCheckTime(ns, checksAfter);
    const uint64_t deviceCalls = checksAfter - checksBefore;
    dialog.reset();

    std::vector<std::pair<std::string, std::string>> sections;
    const double read = Seconds(
        [&] { return SUCCEEDED(conflicts::ReadStateSections(statePath, sections)) && sections.size() == pairs.size(); },
        "reading the state file");
    std::string html;
    const double build = Seconds(
        [&] {
            html = conflicts::BuildRows(LoadResourceString(IDS_ROW_TEMPLATE), conflicts::SelectConflicts(sections));
            return !html.empty();
        },
        "building the rows");
    HtmlNode list;
    list.tag = "div";
    std::string why;
    const double parse =
        Seconds([&] { return ParseFragment(html, &list, list.children, why) && !list.children.empty(); }, "parsing");
    Measure measure;
    HtmlLayoutResult layout;
    const double lay = Seconds(
        [&] {
            layout = LayoutPage(list, HtmlStyle{}, HtmlStyleSheet{}, measure, 620);
            return layout.controls.size() >= 3u * rows;
        },
        "laying out");
    const double attributes = Seconds(
        [&] {
            testing::RapiSession session;
            for (const auto& pair : pairs)
                if (CeGetFileAttributes(com::WideFromAnsi(pair.device).c_str()) == 0xFFFFFFFF) return false;
            return true;
        },
        "the device attributes");
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 640, 460, nullptr, nullptr, nullptr, nullptr);
    std::vector<HWND> made;
    const double controls = Seconds(
        [&] {
            for (const HtmlControlPlace& place : layout.controls) {
                HWND window = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON, place.rect.left,
                                              place.rect.top, 13, 13, parent, nullptr, nullptr, nullptr);
                if (!window) return false;
                made.push_back(window);
            }
            return true;
        },
        "making the controls");
    DestroyWindow(parent);

    std::printf("%d conflicts listed and scrolled to the last row: %.2f s, %llu device path calls (%.4f per row)\n",
                rows, total, static_cast<unsigned long long>(deviceCalls), static_cast<double>(deviceCalls) / rows);
    std::printf("  state file read %.3f s, rows built %.3f s, parsed %.3f s, laid out %.3f s\n", read, build, parse,
                lay);
    std::printf("  one device attribute call per row %.3f s, %zu controls made %.3f s\n", attributes, made.size(),
                controls);
    return 0;
}
