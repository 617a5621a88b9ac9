#include "TwoWayDecision.h"

#include "FileItem.h"

namespace vorlan::filesync {

namespace {
constexpr TwoWayAction C = kCopyDeviceToWorkstation;   // 0
constexpr TwoWayAction W = kCopyWorkstationToDevice;   // 1
constexpr TwoWayAction DD = kDeleteDeviceSide;         // 2
constexpr TwoWayAction DW = kDeleteWorkstationSide;    // 3
constexpr TwoWayAction X = kConflict;                  // 4
constexpr TwoWayAction Q = kCompareContents;           // 5
constexpr TwoWayAction N = kNothingToDo;               // 6
}  // namespace

// clang-format off
const TwoWayAction kTwoWayTable[kDecidableStatuses][kDecidableStatuses] = {
    //            ws: new gone absent changed unchanged
    /* device new       */ {Q, X,  C, Q, Q},
    /* device gone      */ {X, N,  N, X, DW},
    /* device absent    */ {W, N,  N, W, W},
    /* device changed   */ {Q, X,  C, Q, C},
    /* device unchanged */ {Q, DD, C, W, N},
};
// clang-format on

SyncStatus SideStatus(bool hasRecord, uint32_t record, CrcOutcome outcome, uint32_t crc) {
    if (outcome != CrcOutcome::kComputed) {
        if (!hasRecord) return kStatusAbsent;
        return outcome == CrcOutcome::kShareViolation ? kStatusLocked : kStatusGone;
    }
    if (!hasRecord) return kStatusNew;
    return crc == record ? kStatusUnchanged : kStatusChanged;
}

bool DecideTwoWayAction(uint32_t deviceStatus, uint32_t workstationStatus, uint32_t options,
                        TwoWayAction& action) {
    if (deviceStatus >= kDecidableStatuses || workstationStatus >= kDecidableStatuses) return false;
    action = kTwoWayTable[deviceStatus][workstationStatus];
    if (!LeftUndecided(action)) return true;
    if (options & kConflictDeviceWins)
        action = deviceStatus == kStatusGone ? kDeleteWorkstationSide : kCopyDeviceToWorkstation;
    else if (options & kConflictWorkstationWins)
        action = workstationStatus == kStatusGone ? kDeleteDeviceSide : kCopyWorkstationToDevice;
    return true;
}

const char* ActionName(TwoWayAction action) {
    switch (action) {
        case kCopyDeviceToWorkstation: return "copy the device side to the workstation";
        case kCopyWorkstationToDevice: return "copy the workstation side to the device";
        case kDeleteDeviceSide: return "delete the device side";
        case kDeleteWorkstationSide: return "delete the workstation side";
        case kConflict: return "conflict";
        case kCompareContents: return "compare contents";
        case kNothingToDo: return "nothing to do";
    }
    return "?";
}

}  // namespace vorlan::filesync
