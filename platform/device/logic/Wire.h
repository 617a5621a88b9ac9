#pragma once
// Little-endian encoding of the values that cross the device connection.
// The reader never reads past its buffer: once a read would overrun, it
// fails, every later read yields zero or empty, and Ok() stays false.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan::device {

class WireWriter {
public:
    WireWriter() = default;
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void U64(uint64_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    // A length-prefixed byte block.
    void Bytes(const void* data, size_t size);
    // A UTF-16 text; a null pointer travels as its own marker, so callers
    // that pass "no text" and "empty text" stay apart.
    void Text(const char16_t* text);
    void Text(std::u16string_view text);
    void Raw(const void* data, size_t size);
    // Room for a block whose contents the caller writes afterwards.
    uint8_t* Reserve(size_t size);
    void Truncate(size_t size) { bytes_.resize(size); }
    // Overwrites a word written earlier at offset at.
    void PatchU32(size_t at, uint32_t v);
    size_t Size() const { return bytes_.size(); }
    std::vector<uint8_t>& Buffer() { return bytes_; }
    const std::vector<uint8_t>& Buffer() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

class WireReader {
public:
    WireReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit WireReader(const std::vector<uint8_t>& bytes) : WireReader(bytes.data(), bytes.size()) {}
    explicit WireReader(std::vector<uint8_t>&&) = delete;  // would point into a dead buffer
    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    uint64_t U64();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    // A byte block written by WireWriter::Bytes; points into the buffer.
    std::basic_string_view<uint8_t> Bytes();
    // Fails the reader when the block is longer than limit.
    std::basic_string_view<uint8_t> Bytes(size_t limit);
    // A text written by WireWriter::Text; isNull tells the null marker.
    std::u16string Text(bool* isNull = nullptr);
    void Raw(void* out, size_t size);
    bool Ok() const { return ok_; }
    // True when everything was read and nothing failed.
    bool Done() const { return ok_ && offset_ == size_; }
    size_t Remaining() const { return ok_ ? size_ - offset_ : 0; }

private:
    const uint8_t* Take(size_t n);
    const uint8_t* data_;
    size_t size_;
    size_t offset_ = 0;
    bool ok_ = true;
};

}  // namespace vorlan::device
