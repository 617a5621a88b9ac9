#pragma once
// Driving the core's modal dialogs from a test: the dialog runs on the
// thread that called the core (its modal loop serves it), while a driver
// thread finds it by caption and works its controls with messages, as a
// user's clicks would arrive.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vorlan::testing {

// The visible top-level window titled caption, waited for up to ms; of the
// process given (0: any process). nullptr when none came.
HWND WaitForWindow(const std::string& caption, DWORD processId = 0, DWORD ms = 30000);
// Waits until window is gone; false when it stayed.
bool WaitForClose(HWND window, DWORD ms = 30000);

// Runs open() on this thread and drive(dialog) on a driver thread once a
// window titled caption of this process is up. False when none came (drive
// did not run); open() has returned either way.
bool WithDialog(const std::string& caption, const std::function<void()>& open,
                const std::function<void(HWND dialog)>& drive);

// Controls of a dialog of any thread or process.
std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::string& text);
// A button pressed: its notification is posted, so a box or dialog it opens
// does not hold up the driver.
void PressButton(HWND dialog, int id);
// BM_CLICK, for check boxes and radios, whose state the click changes.
void Click(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
// The combo box's selection set and announced as the user's choice.
void ChooseComboEntry(HWND dialog, int id, int index);
int ComboSelection(HWND dialog, int id);
std::vector<std::string> ComboEntries(HWND dialog, int id);

// The boxes shown through the system's message box helper while the
// object lives (VORLAN_MESSAGEBOX_JOURNAL): caption, text, type.
class MessageBoxJournal {
public:
    MessageBoxJournal();
    ~MessageBoxJournal();
    struct Box {
        std::string caption, text;
        UINT type;
    };
    std::vector<Box> Boxes() const;
    void Clear() const;

private:
    std::string path_;
};

}  // namespace vorlan::testing
