#pragma once
// Helpers for the test programs that run under Wine.
#include <windows.h>
#include <ole2.h>

#include <optional>
#include <functional>
#include <string>

namespace vorlan::testing {

// The Windows path of a file of the build or source tree, whose Unix path
// CMake handed to the test (Wine maps the Unix root as drive Z:).
std::string WindowsPath(const std::string& unixPath);

// COM initialised (apartment-threaded) for the scope of one test.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    HRESULT Result() const { return hr_; }

private:
    HRESULT hr_;
};

// A fresh empty folder under the system's temporary folder (or under
// base, a folder that exists), removed with everything in it when the
// object goes; a current directory inside it moves to its parent first.
class TempFolder {
public:
    explicit TempFolder(const std::string& base = "");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    // Path of a name inside the folder.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// The user's profile folder (%USERPROFILE%), for files a test wants there.
std::string ProfileFolder();

// prefix followed by a suffix no other run of any test has used, for names
// that outlive the run (event sources, registry keys, window titles).
std::string UniqueName(const std::string& prefix);

// The text of a window, and of one cell of a list view (report view).
std::string WindowText(HWND window);
std::string ListViewText(HWND list, int row, int column);

// An environment variable of this process set for the object's life, then
// put back as it was (or removed, when it was not set).
class ScopedEnvironment {
public:
    ScopedEnvironment(const std::string& name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

// %APPDATA% in a temporary folder of the test's own for the object's life.
class ScopedAppData {
public:
    std::string operator/(const std::string& name) const { return folder_ / name; }

private:
    TempFolder folder_;
    ScopedEnvironment variable_{"APPDATA", folder_.Path()};
};

// Dispatches what this thread's queue holds, again and again for at least
// milliseconds (once when 0), so windows can paint and answer.
void PumpMessages(DWORD milliseconds = 0);

// The visible dialog of this process with that caption, waited for up to
// timeoutMs; nullptr when none came.
HWND WaitForDialog(const std::string& caption, DWORD timeoutMs = 10000);

// Runs a command line to its end; its exit code, or -1 when it could not
// start or did not end within timeoutMs (it is then ended).
int RunProgram(std::string commandLine, DWORD timeoutMs = 60000);
// The same in two steps, for a test that works the program meanwhile:
// WaitForProgram closes the handles StartProgram gave.
bool StartProgram(std::string commandLine, PROCESS_INFORMATION& process);
int WaitForProgram(PROCESS_INFORMATION& process, DWORD timeoutMs = 60000);

// Seconds on a steady clock: benchmarks take differences of it.
double SteadySeconds();
// How long run took, in seconds. A run that answers false ends the
// benchmark program with failure, printing message.
double TimeOrExit(const std::function<bool()>& run, const std::string& message);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace vorlan::testing
