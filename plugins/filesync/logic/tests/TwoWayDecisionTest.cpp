#include "TwoWayDecision.h"

#include <gtest/gtest.h>

#include "FileItem.h"

namespace vorlan::filesync {
namespace {

using Grid = int[5][5];

// Rows: device status 0..4; columns: workstation status 0..4.
const Grid kPlain = {
    {5, 4, 0, 5, 5},
    {4, 6, 6, 4, 3},
    {1, 6, 6, 1, 1},
    {5, 4, 0, 5, 0},
    {5, 2, 0, 1, 6},
};
// Every conflict and comparison goes the device's way (deleting the
// workstation side where the device side is gone).
const Grid kDeviceWins = {
    {0, 0, 0, 0, 0},
    {3, 6, 6, 3, 3},
    {1, 6, 6, 1, 1},
    {0, 0, 0, 0, 0},
    {0, 2, 0, 1, 6},
};
const Grid kWorkstationWins = {
    {1, 2, 0, 1, 1},
    {1, 6, 6, 1, 3},
    {1, 6, 6, 1, 1},
    {1, 2, 0, 1, 0},
    {1, 2, 0, 1, 6},
};

TEST(TwoWayDecisionTest, EveryCellWithEveryOption) {
    const struct {
        uint32_t options;
        const Grid& want;
    } cases[] = {
        {0, kPlain},
        {kNeverDelete, kPlain},  // never-delete acts later, not in the table
        {kConflictResolveManually, kPlain},
        {kConflictDeviceWins, kDeviceWins},
        {kConflictWorkstationWins, kWorkstationWins},
        {kConflictDeviceWins | kConflictWorkstationWins, kDeviceWins},
        {kNeverDelete | kConflictWorkstationWins, kWorkstationWins},
    };
    for (const auto& c : cases)
        for (uint32_t device = 0; device < 5; ++device)
            for (uint32_t ws = 0; ws < 5; ++ws) {
                TwoWayAction action = kNothingToDo;
                ASSERT_TRUE(DecideTwoWayAction(device, ws, c.options, action));
                EXPECT_EQ(static_cast<int>(action), c.want[device][ws])
                    << "options " << c.options << ", device " << device << ", workstation " << ws;
            }
}

TEST(TwoWayDecisionTest, StatusesOutsideTheTableAreRefused) {
    const uint32_t pairs[][2] = {{5, 0}, {0, 5}, {6, 4}, {4, 6}, {7, 7}, {0xFFFFFFFF, 0}};
    for (const auto& p : pairs) {
        TwoWayAction action = kNothingToDo;
        EXPECT_FALSE(DecideTwoWayAction(p[0], p[1], kConflictDeviceWins, action)) << p[0] << "," << p[1];
        EXPECT_EQ(action, kNothingToDo);
    }
}

TEST(TwoWayDecisionTest, SideStatusFromRecordAndChecksum) {
    const struct {
        bool hasRecord;
        uint32_t record;
        CrcOutcome outcome;
        uint32_t crc;
        SyncStatus want;
    } cases[] = {
        {false, 0, CrcOutcome::kComputed, 7, kStatusNew},
        {true, 7, CrcOutcome::kFailed, 0, kStatusGone},
        {false, 0, CrcOutcome::kFailed, 0, kStatusAbsent},
        {false, 0, CrcOutcome::kShareViolation, 0, kStatusAbsent},
        {true, 7, CrcOutcome::kComputed, 8, kStatusChanged},
        {true, 7, CrcOutcome::kComputed, 7, kStatusUnchanged},
        {true, 0, CrcOutcome::kComputed, 0, kStatusUnchanged},  // an empty file
        {true, 7, CrcOutcome::kShareViolation, 0, kStatusLocked},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SideStatus(c.hasRecord, c.record, c.outcome, c.crc), c.want)
            << c.hasRecord << " " << c.record << " " << static_cast<int>(c.outcome) << " " << c.crc;
}

}  // namespace
}  // namespace vorlan::filesync
