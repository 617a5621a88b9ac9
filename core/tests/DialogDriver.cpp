#include "DialogDriver.h"

#include <thread>

#include "SharedFile.h"
#include "TestSupport.h"

namespace vorlan::testing {

HWND WaitForWindow(const std::string& caption, DWORD processId, DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        HWND found = nullptr;
        while ((found = FindWindowExA(nullptr, found, nullptr, caption.c_str())) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (IsWindowVisible(found) && (processId == 0 || owner == processId)) return found;
        }
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

bool WaitForClose(HWND window, DWORD ms) {
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= ms) return false;
        Sleep(20);
    }
    return true;
}

bool WithDialog(const std::string& caption, const std::function<void()>& open,
                const std::function<void(HWND dialog)>& drive) {
    bool found = false;
    std::thread driver([&] {
        HWND dialog = WaitForWindow(caption, GetCurrentProcessId());
        if (!dialog) return;
        found = true;
        drive(dialog);
    });
    open();
    driver.join();
    return found;
}

std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void SetItemText(HWND dialog, int id, const std::string& text) {
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool IsChecked(HWND dialog, int id) { return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void ChooseComboEntry(HWND dialog, int id, int index) {
    HWND combo = GetDlgItem(dialog, id);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int ComboSelection(HWND dialog, int id) {
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

std::vector<std::string> ComboEntries(HWND dialog, int id) {
    HWND combo = GetDlgItem(dialog, id);
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[512] = {};
        if (SendMessageA(combo, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text))
            SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

MessageBoxJournal::MessageBoxJournal() : path_(UniqueName(std::string(getenv("TEMP") ? getenv("TEMP") : "C:\\") +
                                                           "\\messageboxes") + ".txt") {
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", path_.c_str());
}

MessageBoxJournal::~MessageBoxJournal() {
    SetEnvironmentVariableA("VORLAN_MESSAGEBOX_JOURNAL", nullptr);
    DeleteFileA(path_.c_str());
}

std::vector<MessageBoxJournal::Box> MessageBoxJournal::Boxes() const {
    std::vector<Box> boxes;
    for (const auto& line : ReadJournal(path_))
        if (line.size() >= 4 && line[0] == "messagebox")
            boxes.push_back({line[1], line[2], static_cast<UINT>(std::stoul(line[3], nullptr, 16))});
    return boxes;
}

void MessageBoxJournal::Clear() const { DeleteFileA(path_.c_str()); }

}  // namespace vorlan::testing
