// What ./vorlan sync needs around a run of the runner, as a console program:
//   SyncReport setup <message file>  registers the core's event source
//                                    "Vorlan" in the Application log, as
//                                    the installation does
//   SyncReport now                   prints the time now (FILETIME, UTC)
//   SyncReport events <time>         prints the events of source "Vorlan"
//                                    written since time, oldest first, one
//                                    a line: type, identifier, text; exit
//                                    code 1 when one of them is an error
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "EventSources.h"
#include "EventStore.h"
#include "EventText.h"

namespace {

using namespace vorlan;
using namespace vorlan::eventlog;

constexpr char kSource[] = "Vorlan";

uint64_t Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

// Line breaks inside a text become blanks, so each event stays one line.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

int PrintEvents(uint64_t since) {
    const std::string log = FindSourceLog(kSource);
    DecodedLog decoded;
    EventStore store = StoreOfLog(log);
    // No store yet: nothing was ever written.
    if (!store.Read(decoded) && GetFileAttributesA(store.Path().c_str()) != INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "SyncReport: the event store %s cannot be read\n", store.Path().c_str());
        return 2;
    }
    MessageFiles files;
    int errors = 0;
    for (const EventRecord& record : decoded.records) {
        if (record.source != kSource || record.timeWritten < since) continue;
        if (record.type == EVENTLOG_ERROR_TYPE) ++errors;
        std::printf("%s 0x%08X: %s\n", EventTypeName(record.type).c_str(), record.eventId,
                    OneLine(FormatEventText(record, log, files)).c_str());
    }
    return errors ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "setup" && argc == 3) {
        LONG result = RegisterSource(kApplicationLog, kSource, argv[2]);
        if (result != ERROR_SUCCESS)
            std::fprintf(stderr, "SyncReport: the event source is not registered (%ld)\n", result);
        return result == ERROR_SUCCESS ? 0 : 2;
    }
    if (command == "now" && argc == 2) {
        std::printf("%llu\n", static_cast<unsigned long long>(Now()));
        return 0;
    }
    if (command == "events" && argc == 3) return PrintEvents(std::strtoull(argv[2], nullptr, 10));
    std::fprintf(stderr, "usage: SyncReport setup <message file> | now | events <time>\n");
    return 2;
}
