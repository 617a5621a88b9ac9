// CRC-32 throughput of this implementation (the path Crc32Update() takes on
// this processor, and the portable path) against zlib's crc32, over the same
// 64 MiB buffer, after checking that all give the same value.
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "Crc32.h"
#include "Crc32Paths.h"

namespace {

constexpr size_t kSize = size_t{64} << 20;
constexpr int kRounds = 5;

// The best of several rounds, in GiB/s.
template <class Fn>
double Throughput(Fn&& crc, uint32_t& value) {
    double best = 0;
    for (int round = 0; round < kRounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        value = crc();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        double rate = static_cast<double>(kSize) / took.count() / double(1 << 30);
        if (rate > best) best = rate;
    }
    return best;
}

}  // namespace

int main() {
    std::vector<uint8_t> buffer(kSize);
    std::mt19937_64 random(2024);
    for (size_t i = 0; i < kSize; i += 8) {
        uint64_t r = random();
        for (int b = 0; b < 8; ++b) buffer[i + b] = static_cast<uint8_t>(r >> (8 * b));
    }
    const uint8_t* p = buffer.data();

    uint32_t ours = 0, portable = 0, reference = 0;
    double zlibRate = Throughput([&] { return static_cast<uint32_t>(crc32(0, p, static_cast<uInt>(kSize))); }, reference);
    double oursRate = Throughput([&] { return vorlan::Crc32Update(p, kSize); }, ours);
    double portableRate = Throughput([&] { return vorlan::crc32_paths::Portable(0, p, kSize); }, portable);
    if (ours != reference || portable != reference) {
        std::printf("MISMATCH: zlib %08X, Crc32Update %08X, portable %08X\n", reference, ours, portable);
        return 1;
    }

    namespace paths = vorlan::crc32_paths;
    const char* chosen = paths::WideCarrylessAvailable() ? "VPCLMULQDQ" : paths::CarrylessAvailable() ? "PCLMULQDQ " : "portable  ";
    std::printf("CRC-32 of %zu MiB, value %08X (all agree), best of %d rounds\n", kSize >> 20, reference, kRounds);
    std::printf("  zlib crc32                 %7.2f GiB/s\n", zlibRate);
    std::printf("  Crc32Update (%s) %7.2f GiB/s  %.2f x zlib\n", chosen, oursRate, oursRate / zlibRate);
    if (paths::CarrylessAvailable()) {
        uint32_t value = 0;
        double rate = Throughput([&] { return paths::Carryless(0, p, kSize); }, value);
        std::printf("  PCLMULQDQ path             %7.2f GiB/s  %.2f x zlib%s\n", rate, rate / zlibRate,
                    value == reference ? "" : "  MISMATCH");
        if (value != reference) return 1;
    }
    std::printf("  portable path              %7.2f GiB/s  %.2f x zlib\n", portableRate, portableRate / zlibRate);
    return 0;
}
