#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "Crc32.h"
#include "Crc32Paths.h"

namespace vorlan {
namespace {

std::vector<uint8_t> RandomBytes(size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(n);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    return bytes;
}

uint32_t Zlib(const uint8_t* p, size_t n) { return static_cast<uint32_t>(crc32(0, p, static_cast<uInt>(n))); }

TEST(Crc32Test, CheckValues) {
    struct Case {
        const char* text;
        uint32_t crc;
    };
    const Case cases[] = {
        {"", 0},
        {"a", 0xE8B7BE43},
        {"abc", 0x352441C2},
        {"123456789", 0xCBF43926},
        {"The quick brown fox jumps over the lazy dog", 0x414FA339},
    };
    for (const Case& c : cases) EXPECT_EQ(Crc32(c.text), c.crc) << '"' << c.text << '"';
}

TEST(Crc32Test, ContinuesAcrossPieces) {
    auto bytes = RandomBytes(1000, 7);
    uint32_t whole = Crc32Update(bytes.data(), bytes.size());
    for (size_t cut : {0, 1, 15, 16, 63, 64, 65, 500, 999, 1000}) {
        uint32_t crc = Crc32Update(bytes.data(), cut);
        EXPECT_EQ(Crc32Update(bytes.data() + cut, bytes.size() - cut, crc), whole) << "cut at " << cut;
    }
}

// Every length up to 4096 at every offset from a 64-byte boundary, through
// the path Crc32() takes on this processor and through the portable one.
TEST(Crc32Test, EqualsZlibAtEveryLengthAndAlignment) {
    constexpr size_t kMaxLength = 4096, kAlignments = 64;
    auto bytes = RandomBytes(kMaxLength + kAlignments + 64, 42);
    auto* base = reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(bytes.data()) + 63) & ~uintptr_t{63});
    for (size_t align = 0; align < kAlignments; ++align) {
        const uint8_t* p = base + align;
        for (size_t n = 0; n <= kMaxLength; ++n) {
            uint32_t want = Zlib(p, n);
            uint32_t got = Crc32Update(p, n);
            if (got != want) FAIL() << "length " << n << " at offset " << align;
        }
    }
    for (size_t align = 0; align < 16; ++align)
        for (size_t n = 0; n <= kMaxLength; ++n)
            if (crc32_paths::Portable(0, base + align, n) != Zlib(base + align, n))
                FAIL() << "portable path, length " << n << " at offset " << align;
}

// Each carry-less path this processor has, against the portable one, over
// random spans (lengths across every step size, odd starts, continued
// values) and over uniform buffers.
TEST(Crc32Test, CarrylessPathsAgreeWithPortablePath) {
    struct Path {
        const char* name;
        bool available;
        uint32_t (*crc)(uint32_t, const uint8_t*, size_t);
    };
    const Path paths[] = {
        {"PCLMULQDQ", crc32_paths::CarrylessAvailable(), crc32_paths::Carryless},
        {"VPCLMULQDQ", crc32_paths::WideCarrylessAvailable(), crc32_paths::WideCarryless},
    };
    auto bytes = RandomBytes(1 << 20, 3);
    std::vector<uint8_t> zeros(4096), ones(4096, 0xFF);
    int tested = 0;
    for (const Path& path : paths) {
        if (!path.available) continue;
        ++tested;
        std::mt19937 random(11);
        for (int round = 0; round < 300; ++round) {
            size_t start = random() % 4096;
            size_t n = round < 100 ? random() % 1024 : random() % (bytes.size() - start);
            uint32_t seed = static_cast<uint32_t>(random());
            ASSERT_EQ(path.crc(seed, bytes.data() + start, n), crc32_paths::Portable(seed, bytes.data() + start, n))
                << path.name << ": length " << n << " from " << start << " continuing " << seed;
        }
        for (const auto* buffer : {&zeros, &ones})
            EXPECT_EQ(path.crc(0, buffer->data(), buffer->size()), crc32_paths::Portable(0, buffer->data(), buffer->size()))
                << path.name;
    }
    if (!tested) GTEST_SKIP() << "this processor has no carry-less multiplication";
}

}  // namespace
}  // namespace vorlan
