#include "AutoStart.h"

#include <windows.h>

#include <string>
#include <vector>

#include "RegKey.h"
#include "ServiceKeys.h"

namespace vorlan::activesync {
namespace {

struct Program {
    std::string name, commandLine;
};

std::vector<Program> RegisteredPrograms() {
    std::vector<Program> programs;
    RegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kAutoStartKey, KEY_READ) != ERROR_SUCCESS) return programs;
    for (DWORD index = 0;; ++index) {
        char name[16384];  // the longest value name the registry allows
        DWORD nameSize = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(key.Get(), index, name, &nameSize, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
        std::string value(size + 1, '\0');
        DWORD valueSize = size;
        if (RegQueryValueExA(key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &valueSize) !=
            ERROR_SUCCESS)
            continue;
        value.resize(value.find('\0') == std::string::npos ? valueSize : value.find('\0'));
        if (type == REG_EXPAND_SZ) {
            char expanded[32768];
            const DWORD length = ExpandEnvironmentStringsA(value.c_str(), expanded, sizeof expanded);
            if (length == 0 || length > sizeof expanded) continue;
            value = expanded;
        }
        programs.push_back({name, value});
    }
    return programs;
}

}  // namespace

void StartAutoStartPrograms(const Journal& journal) {
    for (Program& program : RegisteredPrograms()) {
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process = {};
        std::string commandLine = program.commandLine;
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            journal.Write({"autostart", program.name, program.commandLine, "failed", std::to_string(GetLastError())});
            continue;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        journal.Write({"autostart", program.name, program.commandLine, "started", std::to_string(process.dwProcessId)});
    }
}

}  // namespace vorlan::activesync
