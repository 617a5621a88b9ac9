#pragma once
// The 28-byte state record at offset 0 of Zephrin's state file, little-endian:
//   0  object identifier of the data file as last seen (0 after a deletion)
//   4  synced flag of partner 0, 8 of partner 1
//  12  data file's last-write time when partner 0 last synchronised, 20 partner 1's
#include <windows.h>

#include <cstdint>

namespace vorlan::zephrin {

inline constexpr size_t kStateRecordSize = 28;

struct StateRecord {
    uint32_t oid = 0;
    uint32_t synced[2] = {0, 0};
    FILETIME time[2] = {};
};

void EncodeStateRecord(const StateRecord& record, uint8_t (&bytes)[kStateRecordSize]);
// Bytes past size (a new or short file) read as zeros.
StateRecord DecodeStateRecord(const uint8_t* bytes, size_t size);

}  // namespace vorlan::zephrin
