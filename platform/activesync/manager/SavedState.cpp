#include "SavedState.h"

#include <cstdio>

#include "JournalLine.h"
#include "SharedFile.h"

namespace vorlan::activesync {
namespace {

std::string Hex(const std::vector<BYTE>& bytes) {
    std::string text;
    char digits[3];
    for (BYTE b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        text += digits;
    }
    return text;
}

bool FromHex(const std::string& text, std::vector<BYTE>& bytes) {
    if (text.size() % 2) return false;
    bytes.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        unsigned value = 0;
        if (std::sscanf(text.c_str() + i, "%2x", &value) != 1 || !isxdigit(static_cast<unsigned char>(text[i])) ||
            !isxdigit(static_cast<unsigned char>(text[i + 1])))
            return false;
        bytes.push_back(static_cast<BYTE>(value));
    }
    return true;
}

}  // namespace

SavedState LoadSavedState(const std::string& path) {
    SavedState state;
    for (const auto& line : ReadJournal(path)) {
        std::vector<BYTE> bytes;
        if (line.size() != 3 || !FromHex(line[2], bytes)) continue;
        if (line[0] == "store") state[line[1]].storeId = bytes;
        else if (line[0] == "item") state[line[1]].items.push_back(bytes);
    }
    return state;
}

bool SaveState(const std::string& path, const SavedState& state) {
    std::string text;
    for (const auto& [type, provider] : state) {
        text += EncodeJournalLine({"store", type, Hex(provider.storeId)}) + "\n";
        for (const auto& item : provider.items) text += EncodeJournalLine({"item", type, Hex(item)}) + "\n";
    }
    return ReplaceFileContent(path, text);
}

}  // namespace vorlan::activesync
