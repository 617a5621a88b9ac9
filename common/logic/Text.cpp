#include "Text.h"

namespace vorlan {

size_t ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) return 0;
    size_t count = 0;
    std::string out;
    size_t start = 0;
    for (size_t at; (at = text.find(from, start)) != std::string::npos; start = at + from.size()) {
        out.append(text, start, at - start).append(to);
        ++count;
    }
    if (count) {
        out.append(text, start, std::string::npos);
        text = std::move(out);
    }
    return count;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

}  // namespace vorlan
