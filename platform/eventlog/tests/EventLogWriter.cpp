// Writes events under a source from a process of its own:
//   eventlog_writer SOURCE COUNT [PAUSE_MS]
// Event i has identifier 0xC0020009 and the insertion strings "<pid>" and
// "<i>". Exits with 0 when every report succeeded.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "EventSource.h"

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    auto source = vorlan::eventlog::EventSource::Open(argv[1]);
    if (!source) return 3;
    int count = std::atoi(argv[2]);
    int pause = argc > 3 ? std::atoi(argv[3]) : 0;
    std::string pid = std::to_string(GetCurrentProcessId());
    for (int i = 0; i < count; ++i) {
        if (!source->Report(EVENTLOG_ERROR_TYPE, 0, 0xC0020009, {pid, std::to_string(i)})) return 4;
        if (pause) Sleep(static_cast<DWORD>(pause));
    }
    return 0;
}
