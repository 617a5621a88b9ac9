#pragma once
// The ways Crc32Update() computes its value, open to the tests and the
// benchmark so they can be compared: a portable table path and, on x86
// processors that have them, carry-less-multiply paths over 128-bit lanes
// (PCLMULQDQ) and over 512-bit registers (VPCLMULQDQ with AVX-512). All take
// and return finished CRC values, as Crc32Update() does.
#include <cstddef>
#include <cstdint>

namespace vorlan::crc32_paths {

// Sixteen bytes per step through sixteen 256-entry tables.
uint32_t Portable(uint32_t crc, const uint8_t* bytes, size_t length);

// True when this processor has PCLMULQDQ (checked once, with cpuid).
bool CarrylessAvailable();
// Folds 64 bytes per step; only when CarrylessAvailable().
uint32_t Carryless(uint32_t crc, const uint8_t* bytes, size_t length);

// True when the processor has VPCLMULQDQ and AVX-512 and the system saves
// the 512-bit registers (cpuid and xgetbv, checked once).
bool WideCarrylessAvailable();
// Folds 256 bytes per step; only when WideCarrylessAvailable().
uint32_t WideCarryless(uint32_t crc, const uint8_t* bytes, size_t length);

}  // namespace vorlan::crc32_paths
