#pragma once
// The quick CRC of a file: the CRC-32 of a 52-byte file-information record
// that keeps only the file's size and its last-write time cut to units of
// 2^28 x 100 ns (about 26.8 s). Two files get the same quick CRC when their
// sizes are equal and their last-write times fall in the same unit.
#include <array>
#include <cstddef>
#include <cstdint>

namespace vorlan {

inline constexpr size_t kQuickCrcRecordSize = 52;

// The record, little-endian, all zero except: offset 20 the last-write low
// word AND 0xF0000000, 24 the last-write high word, 32 the size high word,
// 36 the size low word. lastWrite is a FILETIME value (100 ns since 1601).
std::array<uint8_t, kQuickCrcRecordSize> QuickCrcRecord(uint64_t lastWrite, uint64_t size);

// CRC-32 of that record.
uint32_t QuickCrc32(uint64_t lastWrite, uint64_t size);

}  // namespace vorlan
