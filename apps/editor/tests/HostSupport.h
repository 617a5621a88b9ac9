#pragma once
// What the document's host programs share (tests, pictures, benchmark): table
// files, the plug-in list of the test machine, and a driver for dialogs on a
// second thread.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace vorlan::editor::testing {

// A table file's text: the declaration, "root" and the given rows.
std::string TableText(const std::string& rows, const std::string& beforeRoot = "");

// Writes the plug-in list entries the tests use and removes them after.
class ScopedPluginList {
public:
    ScopedPluginList();
    ~ScopedPluginList();
    ScopedPluginList(const ScopedPluginList&) = delete;
    ScopedPluginList& operator=(const ScopedPluginList&) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> previous_;
};

using vorlan::testing::WaitForDialog;

// Runs drive on a second thread while the calling thread goes on (and
// shows a dialog); Join waits for it.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void()> drive);
    ~DialogDriver();
    void Join();

private:
    std::function<void()> drive_;
    HANDLE thread_ = nullptr;
};

}  // namespace vorlan::editor::testing
