#pragma once
// The service manager program running for a test, with its journal in a
// temporary folder. Its windows are process-wide names: tests that start it
// never run at once with each other.
#include <windows.h>

#include <string>
#include <vector>

#include "TestSupport.h"

namespace vorlan::testing {

class ServiceManagerProcess {
public:
    using Line = std::vector<std::string>;

    // Starts the program, with arguments after its journal's, and waits
    // until its windows are up.
    explicit ServiceManagerProcess(const std::string& arguments = "");
    // Closes it, or ends it when it does not close.
    ~ServiceManagerProcess();
    ServiceManagerProcess(const ServiceManagerProcess&) = delete;
    ServiceManagerProcess& operator=(const ServiceManagerProcess&) = delete;

    bool Started() const;
    void Stop() const;
    // Sends a command (ServiceManagerCommands.h) and waits until it has
    // been carried out; its HRESULT, or E_FAIL when it did not answer.
    HRESULT Command(UINT message) const;
    bool WaitForExit() const;
    std::vector<Line> Lines() const;
    // The journal's lines of one kind ("status", "balloon", ...), without the kind.
    std::vector<Line> Lines(const std::string& kind) const;

private:
    TempFolder folder_;
    std::string journal_;
    HANDLE process_ = nullptr;
};

// Switches an object type's provider off (1) or on (0), where ActiveSync's
// options switch it.
LONG SetProviderDisabled(const std::string& objectType, DWORD disabled);

}  // namespace vorlan::testing
