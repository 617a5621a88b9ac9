#pragma once
// The runner's command line: Stelmar [/SyncNow ["URL_OR_PATH"]].
// Platform-free, so it is also built natively under the sanitizers.
#include <string>
#include <string_view>

namespace vorlan::runner {

// The switch, as the text SYNCNOW in any letter case, outside every quoted
// part (a quote opens a part, the next quote closes it; an unclosed part
// runs to the end): "C:\SyncNow\p.xml" in quotes is a path, not the switch.
bool HasSyncNowSwitch(std::string_view commandLine);

struct RunnerCommand {
    bool closeAfterRun = false;  // the switch was given: run at once, then close
    std::string url;             // the quoted project, empty for the default one
};

// The switch and the text between the first quote and the next one (what
// follows the closing quote is ignored). false for a quote without its
// closing one and for an empty quoted part; command is then left empty.
bool ParseRunnerCommandLine(std::string_view commandLine, RunnerCommand& command);

}  // namespace vorlan::runner
