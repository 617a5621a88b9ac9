#pragma once
// Drives the browse dialogs as a user would, by messages, from a thread of
// its own while the export runs its modal loop on the test's thread.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <thread>

#include "TestSupport.h"
#include <vector>

namespace vorlan::testing {

// Waits until test holds or ms pass; its last answer.
bool WaitUntil(const std::function<bool()>& test, DWORD ms = 5000);

// A button press whose handler returns before the next step.
void Click(HWND dialog, int id);
// A button press whose handler opens a box or dialog of its own.
void PostClick(HWND dialog, int id);

// On a display for pictures: presses OK of an item dialog whose fields make
// it refuse, pictures the real message box captioned caption as name,
// closes it and waits until the dialog takes input again. What
// SaveScreenshot answered, or "failed: no box".
std::string PictureRefusalBox(HWND dialog, const std::string& caption, const std::string& name);

std::string ItemText(HWND dialog, int id);

// Rows of a report list view.
std::vector<std::string> Column(HWND list, int column);
int FindRow(HWND list, const std::string& name);
void SelectRow(HWND list, int row);
int SelectedRow(HWND list);
// The user's double click on a row; a click on a column heading.
void DoubleClickRow(HWND list, int row);
void ClickHeading(HWND list, int column);

// Tree view items.
std::string TreeText(HWND tree, HTREEITEM item);
std::vector<std::string> ChildTexts(HWND tree, HTREEITEM item);
HTREEITEM FindChild(HWND tree, HTREEITEM item, const std::string& text);
HTREEITEM Selected(HWND tree);
// The user's keys on the selected item: right opens it, left closes it.
void PressKey(HWND tree, UINT key);

// Runs steps against the dialog titled title once it shows; if it is still
// open when the steps end, presses Cancel so the browse always returns.
class BrowseDriver {
public:
    BrowseDriver(std::string title, std::function<void(HWND)> steps);
    ~BrowseDriver();
    BrowseDriver(const BrowseDriver&) = delete;
    BrowseDriver& operator=(const BrowseDriver&) = delete;
    bool SawDialog() const { return saw_; }

private:
    std::thread thread_;
    bool saw_ = false;
};

}  // namespace vorlan::testing
