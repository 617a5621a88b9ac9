#include "EventRecord.h"


#include "Crc32.h"

namespace vorlan {
namespace {

constexpr uint16_t kLayoutVersion = 1;
constexpr size_t kTrailerSize = 4;

void PutU16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutU64(std::string& out, uint64_t v) {
    PutU32(out, static_cast<uint32_t>(v));
    PutU32(out, static_cast<uint32_t>(v >> 32));
}

// Reads fixed-width fields from a span; every read checks the span's end.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool U16(uint16_t& v) {
        if (!Need(2)) return false;
        v = static_cast<uint16_t>(Byte(0) | Byte(1) << 8);
        pos_ += 2;
        return true;
    }
    bool U32(uint32_t& v) {
        if (!Need(4)) return false;
        v = Byte(0) | Byte(1) << 8 | Byte(2) << 16 | static_cast<uint32_t>(Byte(3)) << 24;
        pos_ += 4;
        return true;
    }
    bool U64(uint64_t& v) {
        uint32_t lo, hi;
        if (!U32(lo) || !U32(hi)) return false;
        v = static_cast<uint64_t>(hi) << 32 | lo;
        return true;
    }
    bool Bytes(size_t n, std::string& out) {
        if (!Need(n)) return false;
        out.assign(bytes_.substr(pos_, n));
        pos_ += n;
        return true;
    }
    size_t Position() const { return pos_; }

private:
    bool Need(size_t n) const { return bytes_.size() - pos_ >= n; }
    uint32_t Byte(size_t i) const { return static_cast<unsigned char>(bytes_[pos_ + i]); }
    std::string_view bytes_;
    size_t pos_ = 0;
};

// Parses one record that starts at bytes[0]; its length on success, else 0.
size_t ParseRecord(std::string_view bytes, EventRecord& record) {
    Reader r(bytes);
    uint32_t magic, length;
    if (!r.U32(magic) || magic != kEventRecordMagic || !r.U32(length)) return 0;
    if (length < kEventRecordHeaderSize + kTrailerSize || length > kMaxEventRecordSize ||
        length > bytes.size())
        return 0;
    std::string_view body = bytes.substr(0, length - kTrailerSize);
    Reader trailer(bytes.substr(length - kTrailerSize, kTrailerSize));
    uint32_t crc;
    if (!trailer.U32(crc) || crc != Crc32(body)) return 0;

    Reader f(body);
    uint16_t version, stringCount, sourceSize, computerSize;
    uint32_t dataSize;
    EventRecord out;
    f.U32(magic);
    f.U32(length);
    if (!f.U16(version) || version != kLayoutVersion || !f.U16(out.type) || !f.U16(out.category) ||
        !f.U16(stringCount) || !f.U32(out.eventId) || !f.U64(out.timeWritten) ||
        !f.U32(out.processId) || !f.U32(dataSize) || !f.U16(sourceSize) || !f.U16(computerSize))
        return 0;
    if (stringCount > kMaxEventStrings || dataSize > kMaxEventDataSize ||
        sourceSize > kMaxEventNameSize || computerSize > kMaxEventNameSize)
        return 0;
    if (!f.Bytes(sourceSize, out.source) || !f.Bytes(computerSize, out.computer)) return 0;
    out.strings.resize(stringCount);
    for (std::string& s : out.strings) {
        uint32_t size;
        if (!f.U32(size) || size > kMaxEventStringSize || !f.Bytes(size, s)) return 0;
    }
    if (!f.Bytes(dataSize, out.data) || f.Position() != body.size()) return 0;
    record = std::move(out);
    return length;
}

}  // namespace

bool EncodeEventRecord(const EventRecord& record, std::string& out) {
    if (record.strings.size() > kMaxEventStrings || record.data.size() > kMaxEventDataSize ||
        record.source.size() > kMaxEventNameSize || record.computer.size() > kMaxEventNameSize)
        return false;
    size_t total = kEventRecordHeaderSize + record.source.size() + record.computer.size() +
                   record.data.size() + kTrailerSize;
    for (const std::string& s : record.strings) {
        if (s.size() > kMaxEventStringSize) return false;
        total += 4 + s.size();
    }
    if (total > kMaxEventRecordSize) return false;

    std::string bytes;
    bytes.reserve(total);
    PutU32(bytes, kEventRecordMagic);
    PutU32(bytes, static_cast<uint32_t>(total));
    PutU16(bytes, kLayoutVersion);
    PutU16(bytes, record.type);
    PutU16(bytes, record.category);
    PutU16(bytes, static_cast<uint16_t>(record.strings.size()));
    PutU32(bytes, record.eventId);
    PutU64(bytes, record.timeWritten);
    PutU32(bytes, record.processId);
    PutU32(bytes, static_cast<uint32_t>(record.data.size()));
    PutU16(bytes, static_cast<uint16_t>(record.source.size()));
    PutU16(bytes, static_cast<uint16_t>(record.computer.size()));
    bytes += record.source;
    bytes += record.computer;
    for (const std::string& s : record.strings) {
        PutU32(bytes, static_cast<uint32_t>(s.size()));
        bytes += s;
    }
    bytes += record.data;
    PutU32(bytes, Crc32(bytes));
    out = std::move(bytes);
    return true;
}

DecodedLog DecodeEventLog(std::string_view bytes) {
    DecodedLog log;
    const char magic[4] = {'V', 'E', 'V', 'T'};
    const std::string_view magicBytes(magic, 4);
    size_t pos = 0;
    while (pos < bytes.size()) {
        EventRecord record;
        if (size_t length = ParseRecord(bytes.substr(pos), record)) {
            log.records.push_back(std::move(record));
            pos += length;
            continue;
        }
        size_t next = bytes.find(magicBytes, pos + 1);
        if (next == std::string_view::npos) next = bytes.size();
        log.damagedBytes += next - pos;
        pos = next;
    }
    return log;
}

std::string KeepNewestRecords(std::string_view bytes, size_t budget) {
    DecodedLog log = DecodeEventLog(bytes);
    std::vector<std::string> kept;
    size_t used = 0;
    for (auto it = log.records.rbegin(); it != log.records.rend(); ++it) {
        std::string encoded;
        if (!EncodeEventRecord(*it, encoded) || used + encoded.size() > budget) break;
        used += encoded.size();
        kept.push_back(std::move(encoded));
    }
    std::string out;
    out.reserve(used);
    for (auto it = kept.rbegin(); it != kept.rend(); ++it) out += *it;
    return out;
}

}  // namespace vorlan
