#pragma once
// CRC-32: the reflected polynomial 0xEDB88320 of zip, PNG and Ethernet,
// initial value 0xFFFFFFFF and final complement, alike on the desktop and the
// device. Crc32("123456789") is 0xCBF43926; no bytes give 0. A value
// continues like zlib's crc32(): Crc32(b, Crc32(a)) == Crc32(a + b).
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vorlan {

// Continues crc over length bytes; start with 0.
uint32_t Crc32Update(const void* bytes, size_t length, uint32_t crc = 0);

// Continues crc over bytes; start with 0.
inline uint32_t Crc32(std::string_view bytes, uint32_t crc = 0) {
    return Crc32Update(bytes.data(), bytes.size(), crc);
}

}  // namespace vorlan
