#include <gtest/gtest.h>

#include <random>

#include "Wire.h"

using namespace vorlan::device;

TEST(Wire, ValuesRoundTrip) {
    WireWriter w;
    w.U8(7);
    w.U16(0xBEEF);
    w.U32(0xDEADBEEF);
    w.U64(0x0123456789ABCDEFull);
    w.I32(-1);
    w.Text(u"h\u00e9llo");
    w.Text(static_cast<const char16_t*>(nullptr));
    w.Text(u"");
    w.Bytes("abc", 3);
    WireReader r(w.Buffer());
    EXPECT_EQ(r.U8(), 7);
    EXPECT_EQ(r.U16(), 0xBEEF);
    EXPECT_EQ(r.U32(), 0xDEADBEEFu);
    EXPECT_EQ(r.U64(), 0x0123456789ABCDEFull);
    EXPECT_EQ(r.I32(), -1);
    bool isNull = true;
    EXPECT_EQ(r.Text(&isNull), u"h\u00e9llo");
    EXPECT_FALSE(isNull);
    r.Text(&isNull);
    EXPECT_TRUE(isNull);
    EXPECT_EQ(r.Text(&isNull), u"");
    EXPECT_FALSE(isNull);
    auto bytes = r.Bytes();
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abc");
    EXPECT_TRUE(r.Done());
}

TEST(Wire, LittleEndianLayout) {
    WireWriter w;
    w.U32(0x04030201);
    w.Text(u"A");
    std::vector<uint8_t> expected = {1, 2, 3, 4, 1, 0, 0, 0, 'A', 0};
    EXPECT_EQ(w.Buffer(), expected);
}

TEST(Wire, ShortOrLyingInputFailsWithoutReadingPastTheEnd) {
    // Each case is a buffer whose declared lengths overrun it.
    const std::vector<std::vector<uint8_t>> cases = {
        {},                          // nothing at all
        {1, 2, 3},                   // a word cut short
        {5, 0, 0, 0, 'a', 0},        // a text of 5 characters holding 1
        {0xFE, 0xFF, 0xFF, 0xFF},    // a text length near 2^32
        {0xFF, 0xFF, 0xFF, 0x7F, 1}, // a length whose doubling overflows 32 bits
    };
    for (const auto& bytes : cases) {
        WireReader r(bytes);
        r.Text();
        EXPECT_FALSE(r.Ok()) << bytes.size();
        EXPECT_EQ(r.U32(), 0u);
        EXPECT_EQ(r.Remaining(), 0u);
    }
    std::vector<uint8_t> block = {10, 0, 0, 0, 1, 2};
    WireReader r(block);
    EXPECT_TRUE(r.Bytes().empty());
    EXPECT_FALSE(r.Ok());
    std::vector<uint8_t> two = {2, 0, 0, 0, 1, 2};
    WireReader limited(two);
    limited.Bytes(1);
    EXPECT_FALSE(limited.Ok());
}

TEST(Wire, RandomBuffersNeverOverrun) {
    std::mt19937 random(42);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> bytes(random() % 64);
        for (auto& b : bytes) b = static_cast<uint8_t>(random());
        WireReader r(bytes);
        while (r.Ok()) {
            switch (random() % 4) {
                case 0: r.U32(); break;
                case 1: r.Text(); break;
                case 2: r.Bytes(); break;
                default: r.U64(); break;
            }
        }
        EXPECT_EQ(r.Remaining(), 0u);
    }
}
