#include "ServiceManagerProcess.h"

#include <cstdio>

#include "ServiceKeys.h"
#include "SharedFile.h"

namespace vorlan::testing {

ServiceManagerProcess::ServiceManagerProcess(const std::string& arguments) : journal_(folder_ / "journal.txt") {
    std::string command = std::string("\"") + SERVICE_MANAGER_PATH + "\" \"/journal:" + journal_ + "\" " + arguments;
    for (int attempt = 0; attempt < 3; ++attempt) {
        // One that an earlier test ended may still be going away; a second
        // instance would hand its commands to it and end.
        for (int i = 0; i < 500 && FindWindowA(nullptr, "DccMan"); ++i) Sleep(20);
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process = {};
        std::string line = command;
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            std::fprintf(stderr, "service manager: cannot start it (error %lu)\n", GetLastError());
            return;
        }
        CloseHandle(process.hThread);
        process_ = process.hProcess;
        for (int i = 0; i < 500 && !Started(); ++i) {
            if (WaitForSingleObject(process_, 20) == WAIT_OBJECT_0) break;
        }
        DWORD code = STILL_ACTIVE;
        if (Started() || !GetExitCodeProcess(process_, &code) || code == STILL_ACTIVE) return;
        // It ended at once: 0 when it found another instance and handed
        // itself over, which is then started anew once that one is gone.
        std::fprintf(stderr, "service manager: ended with %lu before it started\n", code);
        if (code != 0) return;
        CloseHandle(process_);
        process_ = nullptr;
    }
}

ServiceManagerProcess::~ServiceManagerProcess() {
    if (!process_) return;
    Stop();
    if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
}

bool ServiceManagerProcess::Started() const {
    for (const Line& line : Lines())
        if (!line.empty() && line[0] == "started") return true;
    return false;
}

void ServiceManagerProcess::Stop() const { PostMessageA(FindWindowA(nullptr, "DccMan"), WM_CLOSE, 0, 0); }

HRESULT ServiceManagerProcess::Command(UINT message) const {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(FindWindowA(nullptr, "DccMan"), message, 0, 0, SMTO_NORMAL, 240000, &answer))
        return E_FAIL;
    return static_cast<HRESULT>(answer);
}

bool ServiceManagerProcess::WaitForExit() const { return WaitForSingleObject(process_, 10000) == WAIT_OBJECT_0; }

std::vector<ServiceManagerProcess::Line> ServiceManagerProcess::Lines() const { return ReadJournal(journal_); }

std::vector<ServiceManagerProcess::Line> ServiceManagerProcess::Lines(const std::string& kind) const {
    std::vector<Line> found;
    for (Line line : Lines())
        if (!line.empty() && line[0] == kind) found.emplace_back(line.begin() + 1, line.end());
    return found;
}

LONG SetProviderDisabled(const std::string& objectType, DWORD disabled) {
    const std::string key = std::string(activesync::kObjectsKey) + "\\" + objectType;
    return RegSetKeyValueA(HKEY_LOCAL_MACHINE, key.c_str(), "Disabled", REG_DWORD, &disabled, sizeof disabled);
}

}  // namespace vorlan::testing
