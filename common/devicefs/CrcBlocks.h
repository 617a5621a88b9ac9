#pragma once
// Layouts of the blocks the desktop hands the device library's CRC exports
// through CeRapiInvoke (little-endian, fixed offsets). Both sides build
// and read them from these numbers.
#include <cstddef>

namespace vorlan::devicefs {

// File-CRC request: WCHAR path[256] at 0, DWORD quick flag at 512.
inline constexpr size_t kCrcRequestPathChars = 256;
inline constexpr size_t kCrcRequestFlagOffset = 512;
inline constexpr size_t kCrcRequestSize = 516;

// CRC record: WCHAR path[520] at 0, DWORD CRC at 1040.
inline constexpr size_t kCrcRecordPathChars = 520;
inline constexpr size_t kCrcRecordCrcOffset = 1040;
inline constexpr size_t kCrcRecordSize = 1044;

}  // namespace vorlan::devicefs
