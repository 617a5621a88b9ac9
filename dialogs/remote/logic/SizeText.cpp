#include "SizeText.h"

#include <limits>

namespace vorlan {

namespace {

constexpr uint64_t kKilobyte = 1024;
constexpr uint64_t kMegabyte = 1024 * 1024;

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

std::string FileSizeText(uint64_t bytes, bool folder) {
    if (folder) return "0 bytes";
    if (bytes <= kKilobyte) return std::to_string(bytes) + " bytes";
    if (bytes > kMegabyte) return std::to_string(bytes / kMegabyte) + "MB";
    return std::to_string(bytes / kKilobyte) + "KB";
}

int64_t LeadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return negative ? -value : value;
}

int64_t SizeTextBytes(std::string_view text) {
    const int64_t number = LeadingNumber(text);
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    auto scaled = [&](uint64_t unit) {
        const int64_t limit = kMax / static_cast<int64_t>(unit);
        if (number > limit) return kMax;
        if (number < -limit) return -kMax;
        return number * static_cast<int64_t>(unit);
    };
    if (EndsWith(text, "KB")) return scaled(kKilobyte);
    if (EndsWith(text, "MB")) return scaled(kMegabyte);
    return number;
}

}  // namespace vorlan
