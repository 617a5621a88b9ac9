#include "NotifyRecord.h"

namespace vorlan::activesync {
namespace {

uint32_t U32(std::string_view bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return v;
}

// A UTF-16 field of chars characters, up to its first terminator.
std::wstring Text(std::string_view bytes, size_t at, size_t chars) {
    std::wstring text;
    for (size_t i = 0; i < chars; ++i) {
        wchar_t c = static_cast<wchar_t>(static_cast<unsigned char>(bytes[at + 2 * i]) |
                                         static_cast<unsigned char>(bytes[at + 2 * i + 1]) << 8);
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

}  // namespace

bool DecodeNotifyRecord(std::string_view bytes, NotifyRecord& record) {
    if (bytes.size() < kNotifyRecordSize) return false;
    record.window = U32(bytes, 0);
    record.id = U32(bytes, 4);
    record.flags = U32(bytes, 8);
    record.tip = Text(bytes, 16, 128);
    record.info = Text(bytes, 280, 256);
    record.timeout = U32(bytes, 792);
    record.infoTitle = Text(bytes, 796, 64);
    record.infoFlags = U32(bytes, 924);
    return true;
}

}  // namespace vorlan::activesync
