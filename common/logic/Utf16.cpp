#include "Utf16.h"

#include <cstdint>

namespace vorlan {

std::string Utf16LeBytes(String16View text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (Char16 c : text) {
        auto unit = static_cast<uint16_t>(c);
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

String16 TextFromUtf16Le(std::string_view bytes, bool* whole) {
    if (whole) *whole = bytes.size() % 2 == 0;
    String16 text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto low = static_cast<unsigned char>(bytes[i]);
        auto high = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<Char16>(low | (high << 8)));
    }
    return text;
}

}  // namespace vorlan
