#include "Wire.h"

#include <cstring>

namespace vorlan::device {

namespace {
constexpr uint32_t kNullText = 0xFFFFFFFFu;
}

void WireWriter::U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
}

void WireWriter::U32(uint32_t v) {
    uint8_t* p = Reserve(4);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void WireWriter::PatchU32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void WireWriter::U64(uint64_t v) {
    U32(static_cast<uint32_t>(v));
    U32(static_cast<uint32_t>(v >> 32));
}

void WireWriter::Bytes(const void* data, size_t size) {
    U32(static_cast<uint32_t>(size));
    Raw(data, size);
}

void WireWriter::Text(const char16_t* text) {
    if (!text) {
        U32(kNullText);
        return;
    }
    Text(std::u16string_view(text));
}

void WireWriter::Text(std::u16string_view text) {
    U32(static_cast<uint32_t>(text.size()));
    uint8_t* p = Reserve(text.size() * 2);
    for (char16_t c : text) {
        *p++ = static_cast<uint8_t>(c);
        *p++ = static_cast<uint8_t>(c >> 8);
    }
}

void WireWriter::Raw(const void* data, size_t size) {
    if (size == 0) return;
    std::memcpy(Reserve(size), data, size);
}

uint8_t* WireWriter::Reserve(size_t size) {
    size_t at = bytes_.size();
    bytes_.resize(at + size);
    return bytes_.data() + at;
}

const uint8_t* WireReader::Take(size_t n) {
    if (!ok_ || n > size_ - offset_) {
        ok_ = false;
        return nullptr;
    }
    const uint8_t* p = data_ + offset_;
    offset_ += n;
    return p;
}

uint8_t WireReader::U8() {
    const uint8_t* p = Take(1);
    return p ? p[0] : 0;
}

uint16_t WireReader::U16() {
    const uint8_t* p = Take(2);
    return p ? static_cast<uint16_t>(p[0] | (p[1] << 8)) : 0;
}

uint32_t WireReader::U32() {
    const uint8_t* p = Take(4);
    if (!p) return 0;
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint64_t WireReader::U64() {
    uint64_t low = U32();
    uint64_t high = U32();
    return low | (high << 32);
}

std::basic_string_view<uint8_t> WireReader::Bytes() { return Bytes(size_); }

std::basic_string_view<uint8_t> WireReader::Bytes(size_t limit) {
    uint32_t n = U32();
    if (n > limit) ok_ = false;
    const uint8_t* p = Take(n);
    return p ? std::basic_string_view<uint8_t>(p, n) : std::basic_string_view<uint8_t>();
}

std::u16string WireReader::Text(bool* isNull) {
    uint32_t n = U32();
    if (isNull) *isNull = ok_ && n == kNullText;
    if (!ok_ || n == kNullText) return {};
    if (n > size_) {  // also keeps n * 2 from overflowing
        ok_ = false;
        return {};
    }
    const uint8_t* p = Take(size_t{n} * 2);
    if (!p) return {};
    std::u16string text(n, u'\0');
    for (uint32_t i = 0; i < n; ++i) text[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    return text;
}

void WireReader::Raw(void* out, size_t size) {
    const uint8_t* p = Take(size);
    if (p)
        std::memcpy(out, p, size);
    else if (size)
        std::memset(out, 0, size);
}

}  // namespace vorlan::device
