#include "ProgressLine.h"

namespace vorlan {

std::string FormatProgressLine(const std::string& pattern, const std::string& name, int index,
                               int count) {
    std::string out;
    bool nameUsed = false;
    int numbersUsed = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '\r' || c == '\n') continue;
        if (c != '%' || i + 1 == pattern.size()) {
            out += c;
            continue;
        }
        const char next = pattern[i + 1];
        const bool wideName = next == 'l' && i + 2 < pattern.size() && pattern[i + 2] == 's';
        if (next == '%') {
            out += '%';
            ++i;
        } else if ((next == 'S' || next == 's' || wideName) && !nameUsed) {
            out += name;
            nameUsed = true;
            i += wideName ? 2 : 1;
        } else if ((next == 'd' || next == 'i' || next == 'u') && numbersUsed < 2) {
            out += std::to_string(numbersUsed++ == 0 ? index : count);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace vorlan
