#pragma once
// What two-way synchronisation does with one pair (a workstation file or
// folder and its device counterpart): each side's status, from its record
// of the last synchronisation and its checksum now, and the action the
// pair of statuses asks for, as one table. No platform calls.
#include <cstdint>

namespace vorlan::filesync {

// The same codes as the device's record store answers.
enum SyncStatus : uint32_t {
    kStatusNew = 0,        // no record, checksum computed
    kStatusGone = 1,       // a record, but the checksum failed
    kStatusAbsent = 2,     // no record and no checksum
    kStatusChanged = 3,    // checksum differs from the record
    kStatusUnchanged = 4,  // checksum equals the record
    kStatusUnknown = 5,    // the record could not be read
    kStatusLocked = 6,     // a record, and the checksum met a sharing violation
};
inline constexpr uint32_t kDecidableStatuses = 5;  // 0..4 reach the table

enum TwoWayAction : uint32_t {
    kCopyDeviceToWorkstation = 0,
    kCopyWorkstationToDevice = 1,
    kDeleteDeviceSide = 2,
    kDeleteWorkstationSide = 3,
    kConflict = 4,
    kCompareContents = 5,
    kNothingToDo = 6,
};

// Rows: device status; columns: workstation status.
extern const TwoWayAction kTwoWayTable[kDecidableStatuses][kDecidableStatuses];

// How a checksum attempt ended.
enum class CrcOutcome { kComputed, kShareViolation, kFailed };

// One side's status: hasRecord / record from the stored record, crc when
// the outcome is kComputed.
SyncStatus SideStatus(bool hasRecord, uint32_t record, CrcOutcome outcome, uint32_t crc);

// The table's action, then the options (QV_CONFLICT_DEVICE_WINS first, else
// QV_CONFLICT_WORKSTATION_WINS) settle what the table leaves undecided or
// to a comparison. False for a status the table does not hold (5, 6 and
// above).
bool DecideTwoWayAction(uint32_t deviceStatus, uint32_t workstationStatus, uint32_t options,
                        TwoWayAction& action);

// Named predicates over actions and statuses.
inline bool LeftUndecided(TwoWayAction a) { return a == kConflict || a == kCompareContents; }
inline bool IsDeletion(TwoWayAction a) { return a == kDeleteDeviceSide || a == kDeleteWorkstationSide; }
inline bool IsCopy(TwoWayAction a) { return a == kCopyDeviceToWorkstation || a == kCopyWorkstationToDevice; }
// A side that holds no trace of the pair: its record is stale or missing.
inline bool IsMissing(uint32_t status) { return status == kStatusGone || status == kStatusAbsent; }
// A side whose content differs from its record (or has none): its record
// must be written again once the pair is equal.
inline bool NeedsNewRecord(uint32_t status) { return status != kStatusUnchanged; }

const char* ActionName(TwoWayAction action);

}  // namespace vorlan::filesync
