#include "QuickCrcRecord.h"

#include "Crc32.h"

namespace vorlan {
namespace {

void PutLittleEndian32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

std::array<uint8_t, kQuickCrcRecordSize> QuickCrcRecord(uint64_t lastWrite, uint64_t size) {
    std::array<uint8_t, kQuickCrcRecordSize> record{};
    PutLittleEndian32(&record[20], static_cast<uint32_t>(lastWrite) & 0xF0000000u);
    PutLittleEndian32(&record[24], static_cast<uint32_t>(lastWrite >> 32));
    PutLittleEndian32(&record[32], static_cast<uint32_t>(size >> 32));
    PutLittleEndian32(&record[36], static_cast<uint32_t>(size));
    return record;
}

uint32_t QuickCrc32(uint64_t lastWrite, uint64_t size) {
    auto record = QuickCrcRecord(lastWrite, size);
    return Crc32Update(record.data(), record.size());
}

}  // namespace vorlan
