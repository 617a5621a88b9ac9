#include "Crc32.h"

#include <array>
#include <bit>
#include <cstring>

#include "Crc32Paths.h"

namespace vorlan {
namespace crc32_paths {
namespace {

using Tables = std::array<std::array<uint32_t, 256>, 16>;

// tables[0] is the byte-at-a-time table; tables[k] advances a byte by k
// further zero bytes, so sixteen lookups consume sixteen bytes at once.
constexpr Tables MakeTables() {
    Tables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (size_t k = 1; k < t.size(); ++k)
        for (uint32_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
}

constexpr Tables kTables = MakeTables();

uint32_t LoadLittleEndian32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap32(v);
    return v;
}

}  // namespace

uint32_t Portable(uint32_t crc, const uint8_t* p, size_t n) {
    const auto& t = kTables;
    uint32_t r = ~crc;
    for (; n >= 16; p += 16, n -= 16) {
        uint32_t a = LoadLittleEndian32(p) ^ r;
        uint32_t b = LoadLittleEndian32(p + 4);
        uint32_t c = LoadLittleEndian32(p + 8);
        uint32_t d = LoadLittleEndian32(p + 12);
        r = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^
            t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^
            t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^
            t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24];
    }
    for (; n; ++p, --n) r = t[0][(r ^ *p) & 0xFF] ^ (r >> 8);
    return ~r;
}

}  // namespace crc32_paths

namespace {

using Path = uint32_t (*)(uint32_t, const uint8_t*, size_t);

Path ChoosePath() {
    if (crc32_paths::WideCarrylessAvailable()) return crc32_paths::WideCarryless;
    if (crc32_paths::CarrylessAvailable()) return crc32_paths::Carryless;
    return crc32_paths::Portable;
}

}  // namespace

uint32_t Crc32Update(const void* bytes, size_t length, uint32_t crc) {
    static const Path path = ChoosePath();
    return path(crc, static_cast<const uint8_t*>(bytes), length);
}

}  // namespace vorlan
