#include <gtest/gtest.h>

#include <random>

#include "Crc32.h"
#include "EventRecord.h"

namespace vorlan {
namespace {

EventRecord Sample(uint32_t id, std::vector<std::string> strings = {"\\Temp\\x.txt"}) {
    EventRecord r;
    r.type = 1;
    r.category = 0;
    r.eventId = id;
    r.timeWritten = 0x01DA0000'12345678ull;
    r.processId = 4242;
    r.source = "Vorlan";
    r.computer = "DESK";
    r.strings = std::move(strings);
    r.data = std::string("\0\1\2", 3);
    return r;
}

std::string Encode(const EventRecord& r) {
    std::string bytes;
    EXPECT_TRUE(EncodeEventRecord(r, bytes));
    return bytes;
}

TEST(Crc32Test, CheckValue) {
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32("56789", Crc32("1234")), 0xCBF43926u) << "continued over two parts";
    EXPECT_EQ(Crc32(""), 0u);
}

TEST(EventRecordTest, RoundTrip) {
    EventRecord a = Sample(0xC0020009);
    EventRecord b = Sample(0xC0020003, {});
    EventRecord c = Sample(0xC002000D, {"HKEY_CURRENT_USER\\A", "", "\xC3\xA9t\xC3\xA9"});
    std::string log = Encode(a) + Encode(b) + Encode(c);
    DecodedLog d = DecodeEventLog(log);
    ASSERT_EQ(d.records.size(), 3u);
    EXPECT_EQ(d.records[0], a);
    EXPECT_EQ(d.records[1], b);
    EXPECT_EQ(d.records[2], c);
    EXPECT_EQ(d.damagedBytes, 0u);
    EXPECT_TRUE(DecodeEventLog("").records.empty());
}

TEST(EventRecordTest, LayoutOfTheHeader) {
    std::string bytes = Encode(Sample(0xC0020009));
    EXPECT_EQ(bytes.substr(0, 4), "VEVT");
    EXPECT_EQ(static_cast<unsigned char>(bytes[4]), bytes.size() & 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[16]), 0x09);
    EXPECT_EQ(static_cast<unsigned char>(bytes[19]), 0xC0);
}

TEST(EventRecordTest, DamageCostsOnlyTheRecordsInside) {
    std::string a = Encode(Sample(1)), b = Encode(Sample(2)), c = Encode(Sample(3));
    struct Case {
        const char* note;
        std::string log;
        std::vector<uint32_t> ids;
    };
    std::string flipped = b;
    flipped[flipped.size() / 2] ^= 0x40;
    std::string badLength = b;
    badLength[5] = 0x7F;  // claims far more than the file holds
    const Case cases[] = {
        {"a crash cut the last record short", a + b.substr(0, b.size() - 7), {1}},
        {"a cut record followed by later appends", a + b.substr(0, 20) + c, {1, 3}},
        {"a flipped bit", a + flipped + c, {1, 3}},
        {"a length beyond the file", a + badLength + c, {1, 3}},
        {"garbage before the first record", std::string(13, 'x') + a, {1}},
        {"only the magic", "VEVT", {}},
        {"a header with nothing after it", a.substr(0, 40), {}},
    };
    for (const Case& c : cases) {
        DecodedLog d = DecodeEventLog(c.log);
        std::vector<uint32_t> ids;
        for (const EventRecord& r : d.records) ids.push_back(r.eventId);
        EXPECT_EQ(ids, c.ids) << c.note;
        size_t good = 0;
        for (const EventRecord& r : d.records) good += Encode(r).size();
        EXPECT_EQ(d.damagedBytes, c.log.size() - good) << c.note;
    }
}

TEST(EventRecordTest, RandomDamageNeverBreaksTheReader) {
    std::string log;
    for (uint32_t i = 0; i < 20; ++i) log += Encode(Sample(i, std::vector<std::string>(i % 4, "s")));
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string damaged = log;
        for (int k = 0; k < 3; ++k) damaged[random() % damaged.size()] = static_cast<char>(random());
        damaged.resize(random() % (damaged.size() + 1));
        DecodedLog d = DecodeEventLog(damaged);
        EXPECT_LE(d.records.size(), 20u);
        for (const EventRecord& r : d.records) EXPECT_EQ(r.source, "Vorlan");
    }
}

TEST(EventRecordTest, BoundsAreRefusedWhenWriting) {
    std::string out = "untouched";
    EventRecord r = Sample(1);
    r.strings.assign(kMaxEventStrings + 1, "s");
    EXPECT_FALSE(EncodeEventRecord(r, out));
    r = Sample(1, {std::string(kMaxEventStringSize + 1, 's')});
    EXPECT_FALSE(EncodeEventRecord(r, out));
    r = Sample(1);
    r.source.assign(kMaxEventNameSize + 1, 's');
    EXPECT_FALSE(EncodeEventRecord(r, out));
    r = Sample(1);
    r.data.assign(kMaxEventDataSize + 1, 'd');
    EXPECT_FALSE(EncodeEventRecord(r, out));
    EXPECT_EQ(out, "untouched");

    r = Sample(1, {std::string(kMaxEventStringSize, 's')});
    EXPECT_TRUE(EncodeEventRecord(r, out)) << "a string at its bound fits";
}

TEST(EventRecordTest, KeepNewestRecords) {
    std::string a = Encode(Sample(1)), b = Encode(Sample(2)), c = Encode(Sample(3));
    std::string log = a + "junk" + b + c;
    EXPECT_EQ(KeepNewestRecords(log, b.size() + c.size()), b + c);
    EXPECT_EQ(KeepNewestRecords(log, b.size() + c.size() - 1), c);
    EXPECT_EQ(KeepNewestRecords(log, 10 * a.size()), a + b + c) << "damage is dropped";
    EXPECT_EQ(KeepNewestRecords(log, 0), "");
}

}  // namespace
}  // namespace vorlan
