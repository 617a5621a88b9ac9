// CRC-32 by folding with carry-less multiplication. The message is cut into
// lanes of 128 bits; a lane multiplied by (x^d mod P) and added to the lane
// d bits further on leaves the CRC unchanged. So four adjacent lanes (or
// four 512-bit registers of four lanes each) are carried forward through the
// buffer, folded into one lane at the end, and the table path finishes that
// lane and the tail. Fold constants are (x^(d+32) mod P, x^(d-32) mod P), each
// bit-reflected and shifted left by one, for the distance d in bits.
#include "Crc32Paths.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>

namespace vorlan::crc32_paths {
namespace {

#define VORLAN_CLMUL __attribute__((target("pclmul,sse2")))
#define VORLAN_WIDE_CLMUL __attribute__((target("avx512f,vpclmulqdq,pclmul,sse2")))

constexpr int64_t kFold128[2] = {0x1751997D0, 0x0CCAA009E};   // d = 128
constexpr int64_t kFold512[2] = {0x154442BD4, 0x1C6E41596};   // d = 512
constexpr int64_t kFold2048[2] = {0x11542778A, 0x1322D1430};  // d = 2048

VORLAN_CLMUL inline __m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

VORLAN_CLMUL inline __m128i Constant(const int64_t (&k)[2]) { return _mm_set_epi64x(k[1], k[0]); }

VORLAN_CLMUL inline __m128i Fold(__m128i lane, __m128i k, __m128i next) {
    __m128i low = _mm_clmulepi64_si128(lane, k, 0x00);
    __m128i high = _mm_clmulepi64_si128(lane, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

// The register enters the message as its first four bytes.
VORLAN_CLMUL inline __m128i Seed(uint32_t crc) { return _mm_cvtsi32_si128(static_cast<int>(~crc)); }

// Four adjacent lanes (64 bytes, x0 the earliest) and the rest of the
// message: carries the lanes forward 64 bytes at a time, folds them into one
// lane, then the rest's whole lanes into it; the tail is left for the table.
VORLAN_CLMUL uint32_t Finish(__m128i x0, __m128i x1, __m128i x2, __m128i x3, const uint8_t* p, size_t n) {
    const __m128i k512 = Constant(kFold512), k128 = Constant(kFold128);
    for (; n >= 64; p += 64, n -= 64) {
        x0 = Fold(x0, k512, Load(p));
        x1 = Fold(x1, k512, Load(p + 16));
        x2 = Fold(x2, k512, Load(p + 32));
        x3 = Fold(x3, k512, Load(p + 48));
    }
    x0 = Fold(x0, k128, x1);
    x0 = Fold(x0, k128, x2);
    x0 = Fold(x0, k128, x3);
    for (; n >= 16; p += 16, n -= 16) x0 = Fold(x0, k128, Load(p));

    // What is left is this lane then the tail, from a zero register (the
    // finished value ~0).
    alignas(16) uint8_t lane[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(lane), x0);
    return Portable(Portable(0xFFFFFFFFu, lane, sizeof lane), p, n);
}

VORLAN_WIDE_CLMUL inline __m512i Constant512(const int64_t (&k)[2]) {
    return _mm512_set_epi64(k[1], k[0], k[1], k[0], k[1], k[0], k[1], k[0]);
}

VORLAN_WIDE_CLMUL inline __m512i Load512(const uint8_t* p) { return _mm512_loadu_si512(p); }

VORLAN_WIDE_CLMUL inline __m512i Fold512(__m512i lanes, __m512i k, __m512i next) {
    __m512i low = _mm512_clmulepi64_epi128(lanes, k, 0x00);
    __m512i high = _mm512_clmulepi64_epi128(lanes, k, 0x11);
    return _mm512_ternarylogic_epi64(low, high, next, 0x96);  // low ^ high ^ next
}

bool CpuHas(unsigned leaf, unsigned ecxBits, unsigned ebxBits = 0, unsigned edxBits = 0) {
    unsigned a, b, c, d;
    if (!__get_cpuid_count(leaf, 0, &a, &b, &c, &d)) return false;
    return (c & ecxBits) == ecxBits && (b & ebxBits) == ebxBits && (d & edxBits) == edxBits;
}

}  // namespace

bool CarrylessAvailable() {
    static const bool available = CpuHas(1, bit_PCLMUL, 0, bit_SSE2);
    return available;
}

VORLAN_CLMUL uint32_t Carryless(uint32_t crc, const uint8_t* p, size_t n) {
    if (n < 64) return Portable(crc, p, n);
    return Finish(_mm_xor_si128(Load(p), Seed(crc)), Load(p + 16), Load(p + 32), Load(p + 48), p + 64, n - 64);
}

bool WideCarrylessAvailable() {
    static const bool available = [] {
        if (!CarrylessAvailable() || !CpuHas(1, bit_OSXSAVE)) return false;
        if (!CpuHas(7, bit_VPCLMULQDQ, bit_AVX512F)) return false;
        // The system must save SSE, AVX and all AVX-512 state (XCR0 bits 1,
        // 2 and 5 to 7).
        unsigned low, high;
        __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
        return (low & 0xE6) == 0xE6;
    }();
    return available;
}

VORLAN_WIDE_CLMUL uint32_t WideCarryless(uint32_t crc, const uint8_t* p, size_t n) {
    if (n < 256) return Carryless(crc, p, n);
    const __m512i k2048 = Constant512(kFold2048), k512 = Constant512(kFold512);
    __m512i z0 = _mm512_xor_si512(Load512(p), _mm512_zextsi128_si512(Seed(crc)));
    __m512i z1 = Load512(p + 64), z2 = Load512(p + 128), z3 = Load512(p + 192);
    for (p += 256, n -= 256; n >= 256; p += 256, n -= 256) {
        z0 = Fold512(z0, k2048, Load512(p));
        z1 = Fold512(z1, k2048, Load512(p + 64));
        z2 = Fold512(z2, k2048, Load512(p + 128));
        z3 = Fold512(z3, k2048, Load512(p + 192));
    }
    z0 = Fold512(z0, k512, z1);
    z0 = Fold512(z0, k512, z2);
    z0 = Fold512(z0, k512, z3);
    // Its four lanes are the four adjacent lanes Finish() carries on with.
    uint8_t lanes[64];
    _mm512_storeu_si512(lanes, z0);
    return Finish(Load(lanes), Load(lanes + 16), Load(lanes + 32), Load(lanes + 48), p, n);
}

}  // namespace vorlan::crc32_paths

#else

namespace vorlan::crc32_paths {

bool CarrylessAvailable() { return false; }
uint32_t Carryless(uint32_t crc, const uint8_t* p, size_t n) { return Portable(crc, p, n); }
bool WideCarrylessAvailable() { return false; }
uint32_t WideCarryless(uint32_t crc, const uint8_t* p, size_t n) { return Portable(crc, p, n); }

}  // namespace vorlan::crc32_paths

#endif
