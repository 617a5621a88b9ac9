#include "ProgramItem.h"

#include <algorithm>

#include "StringTokenizer2.h"

namespace vorlan::processsync {
namespace {

constexpr Keyword kKeywords[] = {
    {kActionKeywords[0], kLocalShellExec},
    {kActionKeywords[1], kCloseWindow},
    {kActionKeywords[2], kCreateWaitProcess},
    {kActionKeywords[3], kCreateProcess},
};

constexpr size_t kLongestCommand = 1023;

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void PutWord(std::vector<uint8_t>& record, size_t offset, uint32_t word) {
    for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<uint8_t>(word >> (8 * i));
}

void PutText(std::vector<uint8_t>& record, size_t offset, std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        record[offset + 2 * i] = static_cast<uint8_t>(text[i]);
        record[offset + 2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
}

}  // namespace

uint32_t GetActionCode(std::string_view flag) {
    if (flag.empty()) return kCreateProcess;
    return LookupKeywordTable(flag, kKeywords, false);
}

bool SplitCommandLine(std::string_view command, std::string& program, std::string& arguments) {
    program.clear();
    arguments.clear();
    if (command.empty() || command.size() > kLongestCommand) return false;
    const std::string_view text = Trim(command);
    size_t rest = 0;
    if (!text.empty() && text.front() == '"') {
        const size_t close = text.find('"', 1);
        program = Trim(text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        rest = close == std::string_view::npos ? text.size() : close + 1;
    } else {
        rest = std::min(text.find('"'), text.size());
        program = Trim(text.substr(0, rest));
    }
    arguments = Trim(text.substr(rest));
    return true;
}

bool BuildMessageRecord(std::u16string_view text, std::u16string_view caption, uint32_t type, uint32_t duration,
                        std::vector<uint8_t>& record) {
    record.clear();
    if (text.size() >= kMessageTextUnits || caption.size() >= kMessageCaptionUnits) return false;
    record.assign(kMessageRecordSize, 0);
    PutText(record, 0, text);
    PutText(record, kMessageCaptionOffset, caption);
    PutWord(record, kMessageTypeOffset, type);
    PutWord(record, kMessageDurationOffset, duration);
    return true;
}

}  // namespace vorlan::processsync
