#include "StateRecord.h"

#include <cstring>

namespace vorlan::zephrin {
namespace {

void Put(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}
uint32_t Get(const uint8_t* at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
    return value;
}

}  // namespace

void EncodeStateRecord(const StateRecord& record, uint8_t (&bytes)[kStateRecordSize]) {
    Put(bytes, record.oid);
    Put(bytes + 4, record.synced[0]);
    Put(bytes + 8, record.synced[1]);
    for (int p = 0; p < 2; ++p) {
        Put(bytes + 12 + 8 * p, record.time[p].dwLowDateTime);
        Put(bytes + 16 + 8 * p, record.time[p].dwHighDateTime);
    }
}

StateRecord DecodeStateRecord(const uint8_t* bytes, size_t size) {
    uint8_t whole[kStateRecordSize] = {};
    std::memcpy(whole, bytes, size < kStateRecordSize ? size : kStateRecordSize);
    StateRecord record;
    record.oid = Get(whole);
    record.synced[0] = Get(whole + 4);
    record.synced[1] = Get(whole + 8);
    for (int p = 0; p < 2; ++p) {
        record.time[p].dwLowDateTime = Get(whole + 12 + 8 * p);
        record.time[p].dwHighDateTime = Get(whole + 16 + 8 * p);
    }
    return record;
}

}  // namespace vorlan::zephrin
