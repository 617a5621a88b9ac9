#include "MessageText.h"

#include <cstdio>

#include "Text.h"

namespace vorlan {

std::string ReplaceInsertsInOrder(std::string text, const std::vector<std::string>& strings) {
    for (size_t i = 0; i < strings.size(); ++i)
        ReplaceAll(text, "%" + std::to_string(i + 1), strings[i]);
    return text;
}

std::string FormatMessageInserts(std::string_view text, const std::vector<std::string>& strings) {
    std::string out;
    out.reserve(text.size());
    auto digit = [&](size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        char c = text[i + 1];
        if (c == '0') return out;
        if (c >= '1' && c <= '9') {
            size_t end = i + 2;
            if (digit(end)) ++end;
            size_t n = std::stoul(std::string(text.substr(i + 1, end - i - 1)));
            if (end < text.size() && text[end] == '!') {
                size_t close = text.find('!', end + 1);
                if (close != std::string_view::npos) end = close + 1;
            }
            if (n <= strings.size())
                out += strings[n - 1];
            else
                out.append(text.substr(i, end - i));
            i = end - 1;
            continue;
        }
        switch (c) {
            case 'n': out += "\r\n"; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'b': out += ' '; break;
            case '%': case '.': case '!': out += c; break;
            default: out.push_back('%'); out.push_back(c); break;
        }
        ++i;
    }
    return out;
}

std::string TrimLineEnds(std::string text) {
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return text;
}

std::string FallbackDescription(uint32_t eventId, const std::vector<std::string>& strings) {
    char head[32];
    std::snprintf(head, sizeof head, "Error 0x%08X", static_cast<unsigned>(eventId));
    std::string out = head;
    for (size_t i = 0; i < strings.size(); ++i) out += (i ? "; " : ": ") + strings[i];
    return out;
}

}  // namespace vorlan
