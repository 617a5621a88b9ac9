// Speed of the remote file browser: a device folder of 5,000 files listed
// into the dialog, then sorted by each column both ways. A fill is one
// listing call to the device whatever the number of files (no call per
// row); the sorts make none. Each time is printed after its result is
// checked.
//
//   ninja -C build remote_file_list_bench
//   tools/wine-run "$PWD/build/wineprefix" build/dialogs/remote/bench/remote_file_list_bench.exe [files]
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "CeRapi.h"
#include "DeviceEmulator.h"
#include "RemoteFileSystemBrowser.h"
#include "Resource.h"
#include "SizeText.h"

using namespace vorlan;

namespace {

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Cell(HWND list, int row, int column) {
    char text[MAX_PATH] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

void ClickHeading(HWND dialog, HWND list, int column) {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = IDC_FILE_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(dialog, WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&click));
}

bool MakeFiles(const testing::DeviceEmulator& device, int files) {
    const std::wstring folder = device.HostPath(L"\\Bench");
    CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<char> bytes(4096, 'b');
    for (int i = 0; i < files; ++i) {
        const std::wstring name = folder + L"\\file" + std::to_wstring((i * 7919) % files) +
                                  (i % 3 == 0 ? L".txt" : i % 3 == 1 ? L".bin" : L".dat");
        HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>((i * 37) % bytes.size());
        bool ok = size == 0 || WriteFile(h, bytes.data(), size, &written, nullptr);
        // A spread of dates over some years.
        ULARGE_INTEGER when;
        when.QuadPart = 133000000000000000ull + static_cast<unsigned long long>((i * 104729) % 100000) * 864000000000ull / 100;
        FILETIME time = {when.LowPart, when.HighPart};
        ok = SetFileTime(h, nullptr, nullptr, &time) && ok;
        CloseHandle(h);
        if (!ok) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 5000;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    testing::DeviceEmulator device;
    device.UseForRapi();
    if (!MakeFiles(device, files)) {
        std::printf("could not make the device folder\n");
        return 1;
    }
    testing::RapiSession session;
    if (!session.Connected()) {
        std::printf("no device\n");
        return 1;
    }

    CRemoteFileSystemBrowser dialog;
    dialog.m_folder = "\\Bench\\";
    auto start = std::chrono::steady_clock::now();
    if (!dialog.Create()) {
        std::printf("the dialog could not be made\n");
        return 1;
    }
    const double opening = Seconds(start);
    HWND list = GetDlgItem(dialog.m_hWnd, IDC_FILE_LIST);
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        start = std::chrono::steady_clock::now();
        dialog.FillList();
        const double took = Seconds(start);
        if (took < best) best = took;
    }
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    if (rows != files) {
        std::printf("listed %d rows of %d files\n", rows, files);
        return 1;
    }
    // The device's share of a fill: the listing call alone.
    start = std::chrono::steady_clock::now();
    DWORD listed = 0;
    CE_FIND_DATA* found = nullptr;
    if (!CeFindAllFiles(L"\\Bench\\*.*", FAF_ATTRIBUTES | FAF_LASTWRITE_TIME | FAF_SIZE_LOW | FAF_NAME, &listed,
                        &found) ||
        listed != static_cast<DWORD>(files)) {
        std::printf("the device listed %lu of %d files\n", static_cast<unsigned long>(listed), files);
        return 1;
    }
    const double listing = Seconds(start);
    CeRapiFreeBuffer(found);
    std::printf("%d files: opening with fill %.3f s, fill %.3f s (best of 3), 1 device call per fill, "
                "%.5f per file; the listing call alone %.3f s\n",
                files, opening, best, 1.0 / files, listing);

    const char* names[] = {"Name", "Size", "Type", "Modified"};
    for (int column = 0; column < 4; ++column) {
        for (int turn = 0; turn < 2; ++turn) {
            start = std::chrono::steady_clock::now();
            ClickHeading(dialog.m_hWnd, list, column);
            const double took = Seconds(start);
            if (column == 1) {
                // Checked: sizes in order all the way down.
                for (int row = 1; row < rows; ++row) {
                    const int64_t before = SizeTextBytes(Cell(list, row - 1, 1));
                    const int64_t after = SizeTextBytes(Cell(list, row, 1));
                    if (turn == 0 ? before < after : before > after) {
                        std::printf("sizes out of order at row %d\n", row);
                        return 1;
                    }
                }
            }
            std::printf("sort by %-8s %-10s %.3f s, no device calls\n", names[column],
                        turn == 0 ? "first" : "again", took);
        }
    }
    dialog.DestroyWindow();
    return 0;
}
