#include "RunnerCommandLine.h"

namespace vorlan::runner {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Upper(text[i]) != prefix[i]) return false;
    return true;
}

}  // namespace

bool HasSyncNowSwitch(std::string_view commandLine) {
    constexpr std::string_view name = "SYNCNOW";
    bool quoted = false;
    for (size_t at = 0; at < commandLine.size(); ++at) {
        if (commandLine[at] == '"') quoted = !quoted;
        else if (!quoted && StartsWithNoCase(commandLine.substr(at), name)) return true;
    }
    return false;
}

bool ParseRunnerCommandLine(std::string_view commandLine, RunnerCommand& command) {
    command = RunnerCommand{};
    const size_t open = commandLine.find('"');
    if (open != std::string_view::npos) {
        const size_t close = commandLine.find('"', open + 1);
        if (close == std::string_view::npos || close == open + 1) return false;
        command.url = std::string(commandLine.substr(open + 1, close - open - 1));
    }
    command.closeAfterRun = HasSyncNowSwitch(commandLine);
    return true;
}

}  // namespace vorlan::runner
