#pragma once
// CRC-32 (the reflected polynomial 0xEDB88320 of zip and PNG).
#include <cstdint>
#include <string_view>

namespace vorlan {

// Continues crc over bytes; start with 0. Crc32("123456789") is 0xCBF43926.
uint32_t Crc32(std::string_view bytes, uint32_t crc = 0);

}  // namespace vorlan
