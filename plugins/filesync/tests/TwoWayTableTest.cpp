// Every cell of the two-way decision table against the emulated device,
// for files and for folders, with each option: both sides' files and both
// sides' records are checked afterwards.
#include <gtest/gtest.h>

#include "Crc32.h"
#include "FileCrc.h"
#include "TwoWayFixture.h"
#include "VorlanMessages.h"

namespace vorlan::filesync::testing {
namespace {

using Content = std::optional<std::string>;
using Record = std::optional<uint32_t>;

const struct {
    uint32_t options;
    const char* text;
} kOptionSets[] = {
    {0, ""},
    {kNeverDelete, " | QV_NEVER_DELETE_FILES_AND_FOLDERS"},
    {kConflictDeviceWins, " | QV_CONFLICT_DEVICE_WINS"},
    {kConflictWorkstationWins, " | QV_CONFLICT_WORKSTATION_WINS"},
};

bool Exists(uint32_t status) { return status == kStatusNew || status == kStatusChanged || status == kStatusUnchanged; }

// One pair of files arranged so that each side has the status asked for.
struct FileCase {
    uint32_t options;
    const char* optionText;
    uint32_t device, ws;
    bool same;  // both sides hold the same bytes
    std::string name, wsPath, devPath;
    Content devFile, wsFile;
    Record devRecord, wsRecord;
};

class TwoWayTableTest : public TwoWaySuite {
protected:
    // The side's file and record for its status.
    static void Arrange(uint32_t status, const std::string& bytes, Content& file, Record& record) {
        file.reset();
        record.reset();
        if (Exists(status)) file = bytes;
        if (status == kStatusGone) record = Crc32("recorded before");
        if (status == kStatusChanged) record = Crc32("recorded before " + bytes);
        if (status == kStatusUnchanged) record = Crc32(bytes);
    }
};

TEST_F(TwoWayTableTest, EveryFileCellWithEveryOption) {
    std::vector<FileCase> cases;
    CreateDirectoryW(device->HostPath(L"\\T").c_str(), nullptr);
    CreateDirectoryA(Local("t").c_str(), nullptr);
    for (const auto& o : kOptionSets)
        for (uint32_t d = 0; d < 5; ++d)
            for (uint32_t w = 0; w < 5; ++w)
                for (bool same : {false, true}) {
                    if (same && !(Exists(d) && Exists(w))) continue;
                    FileCase c{o.options, o.text, d, w, same, {}, {}, {}, {}, {}, {}, {}};
                    c.name = "f" + std::to_string(o.options) + "_" + std::to_string(d) + std::to_string(w) +
                             (same ? "s" : "") + ".txt";
                    c.wsPath = Local("t\\" + c.name);
                    c.devPath = "\\T\\" + c.name;
                    Arrange(d, same ? "same " + c.name : "device " + c.name, c.devFile, c.devRecord);
                    Arrange(w, same ? "same " + c.name : "workstation " + c.name, c.wsFile, c.wsRecord);
                    cases.push_back(c);
                }
    TwoWayState state;
    for (const FileCase& c : cases) {
        if (c.devFile) PutDevice(c.devPath, *c.devFile);
        if (c.wsFile) PutLocal(c.wsPath, *c.wsFile);
        if (c.devRecord) SetDeviceRecord(c.devPath, *c.devRecord);
        if (c.wsRecord) state.WriteStoredCrc(c.wsPath, *c.wsRecord);
    }
    SaveState(state);

    auto engine = Engine();
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        DWORD action = 99;
        ASSERT_EQ(CFileSync::DecideTwoWayAction(c.device, c.ws, &action, c.options), S_OK);
        // What the pair should hold afterwards: as it was, unless the action says otherwise.
        Content devFile = c.devFile, wsFile = c.wsFile;
        Record devRecord = c.devRecord, wsRecord = c.wsRecord;
        HRESULT want = S_OK;
        uint32_t event = 0;
        bool conflict = false;
        switch (action) {
            case kCopyDeviceToWorkstation:
                wsFile = devFile;
                devRecord = wsRecord = Crc32(*devFile);
                break;
            case kCopyWorkstationToDevice:
                devFile = wsFile;
                devRecord = wsRecord = Crc32(*wsFile);
                break;
            case kDeleteDeviceSide:
            case kDeleteWorkstationSide:
                if (c.options & kNeverDelete) break;
                (action == kDeleteDeviceSide ? devFile : wsFile).reset();
                devRecord.reset();
                wsRecord.reset();
                break;
            case kConflict:
                want = E_FAIL, event = EVT_TWO_WAY_UNDECIDED, conflict = true;
                break;
            case kCompareContents:
                if (c.same) {
                    devRecord = wsRecord = Crc32(*devFile);
                } else {
                    want = E_FAIL, event = EVT_TWO_WAY_DIFFERENT, conflict = true;
                }
                break;
            case kNothingToDo:
                // Both deleted: no record is left to delete a restored copy.
                if (c.device == kStatusGone && c.ws == kStatusGone) devRecord.reset(), wsRecord.reset();
                break;
        }
        MarkEvents();
        const unsigned long calls = engine->Counts().deviceCalls;
        EXPECT_EQ(Run(*engine, c.wsPath, c.devPath, std::string("QV_TWO_WAY_FILE_SYNC") + c.optionText), want)
            << "action " << action;
        if (event) {
            ExpectOneEvent(event, c.wsPath);
        } else {
            EXPECT_TRUE(Events().empty());
        }
        EXPECT_EQ(DeviceFile(c.devPath), devFile);
        EXPECT_EQ(LocalFile(c.wsPath), wsFile);
        EXPECT_EQ(DeviceRecord(c.devPath), devRecord);
        EXPECT_EQ(WsRecord(c.wsPath), wsRecord);
        EXPECT_EQ(WsConflict(c.wsPath), conflict ? Content(c.devPath) : std::nullopt);
        // An unchanged pair costs the device's status call alone.
        if (c.device == kStatusUnchanged && c.ws == kStatusUnchanged) {
            EXPECT_EQ(engine->Counts().deviceCalls - calls, 1u);
        }
    }
}

TEST_F(TwoWayTableTest, EveryFolderCellWithEveryOption) {
    // Each folder holds a file of its own side's name; a walk brings both
    // together, a deletion takes the whole folder.
    struct FolderCase {
        uint32_t options;
        const char* optionText;
        uint32_t device, ws;
        std::string name, wsPath, devPath;
    };
    std::vector<FolderCase> cases;
    CreateDirectoryW(device->HostPath(L"\\F").c_str(), nullptr);
    CreateDirectoryA(Local("f").c_str(), nullptr);
    vorlan::testing::RapiSession session;
    TwoWayState state;
    for (const auto& o : kOptionSets)
        for (uint32_t d = 0; d < 5; ++d)
            for (uint32_t w = 0; w < 5; ++w) {
                FolderCase c{o.options, o.text, d, w, {}, {}, {}};
                c.name = "d" + std::to_string(o.options) + "_" + std::to_string(d) + std::to_string(w);
                c.wsPath = Local("f\\" + c.name);
                c.devPath = "\\F\\" + c.name;
                if (Exists(d)) PutDevice(c.devPath + "\\d.txt", "device " + c.name);
                if (Exists(w)) PutLocal(c.wsPath + "\\w.txt", "workstation " + c.name);
                DWORD crc = 0;
                if (d == kStatusUnchanged) {
                    ASSERT_EQ(CeCalcFolderCrc32OnDevice(c.devPath.c_str(), &crc, 0), S_OK);
                }
                if (d == kStatusGone || d == kStatusChanged) crc = 12345;
                if (d == kStatusGone || d == kStatusChanged || d == kStatusUnchanged) SetDeviceRecord(c.devPath, crc);
                crc = 0;
                if (w == kStatusUnchanged) {
                    ASSERT_EQ(CalcFolderCrc32(c.wsPath.c_str(), &crc, FALSE), S_OK);
                }
                if (w == kStatusGone || w == kStatusChanged) crc = 12345;
                if (w == kStatusGone || w == kStatusChanged || w == kStatusUnchanged) state.WriteStoredCrc(c.wsPath, crc);
                cases.push_back(c);
            }
    SaveState(state);

    auto engine = Engine();
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.name);
        DWORD action = 99;
        ASSERT_EQ(CFileSync::DecideTwoWayAction(c.device, c.ws, &action, c.options), S_OK);
        const std::string devName = "device " + c.name, wsName = "workstation " + c.name;
        const Content d0 = Exists(c.device) ? Content(devName) : std::nullopt;
        const Content w0 = Exists(c.ws) ? Content(wsName) : std::nullopt;
        const Record devRecord0 = DeviceRecord(c.devPath), wsRecord0 = WsRecord(c.wsPath);
        MarkEvents();
        const unsigned long calls = engine->Counts().deviceCalls;
        const HRESULT hr = Run(*engine, c.wsPath, c.devPath, std::string("QV_TWO_WAY_FOLDER_SYNC") + c.optionText);
        const bool deleting = (action == kDeleteDeviceSide || action == kDeleteWorkstationSide) &&
                              !(c.options & kNeverDelete);
        if (action == kCopyDeviceToWorkstation || action == kCopyWorkstationToDevice || action == kCompareContents) {
            // Both folders now hold what either held, and both records their trees.
            EXPECT_EQ(hr, S_OK) << "action " << action;
            EXPECT_TRUE(Events().empty());
            for (const auto& [file, bytes] : {std::pair{"\\d.txt", d0}, std::pair{"\\w.txt", w0}}) {
                EXPECT_EQ(DeviceFile(c.devPath + file), bytes) << file;
                EXPECT_EQ(LocalFile(c.wsPath + file), bytes) << file;
            }
            DWORD wsCrc = 0, devCrc = 0;
            EXPECT_EQ(CalcFolderCrc32(c.wsPath.c_str(), &wsCrc, FALSE), S_OK);
            EXPECT_EQ(CeCalcFolderCrc32OnDevice(c.devPath.c_str(), &devCrc, 0), S_OK);
            EXPECT_EQ(WsRecord(c.wsPath), wsCrc);
            EXPECT_EQ(DeviceRecord(c.devPath), devCrc);
        } else if (deleting) {
            EXPECT_EQ(hr, S_OK);
            EXPECT_TRUE(Events().empty());
            const bool device = action == kDeleteDeviceSide;
            EXPECT_FALSE(device ? DeviceFile(c.devPath + "\\d.txt") : LocalFile(c.wsPath + "\\w.txt"));
            EXPECT_EQ(GetFileAttributesA((device ? com::AnsiFromWide(DeviceHost(c.devPath)) : c.wsPath).c_str()),
                      INVALID_FILE_ATTRIBUTES);
            EXPECT_EQ(DeviceRecord(c.devPath), std::nullopt);
            EXPECT_EQ(WsRecord(c.wsPath), std::nullopt);
        } else {
            // Left as it was: a conflict, nothing to do, or a deletion not carried out.
            EXPECT_EQ(DeviceFile(c.devPath + "\\d.txt"), d0);
            EXPECT_EQ(LocalFile(c.wsPath + "\\w.txt"), w0);
            EXPECT_FALSE(DeviceFile(c.devPath + "\\w.txt"));
            EXPECT_FALSE(LocalFile(c.wsPath + "\\d.txt"));
            if (action == kConflict) {
                EXPECT_EQ(hr, E_FAIL);
                ExpectOneEvent(EVT_TWO_WAY_UNDECIDED, c.wsPath);
                EXPECT_EQ(WsConflict(c.wsPath), c.devPath);
                EXPECT_EQ(DeviceRecord(c.devPath), devRecord0);
                EXPECT_EQ(WsRecord(c.wsPath), wsRecord0);
            } else {
                EXPECT_EQ(hr, S_OK);
                EXPECT_TRUE(Events().empty());
                const bool bothMissing = !Exists(c.device) && !Exists(c.ws);
                EXPECT_EQ(DeviceRecord(c.devPath), bothMissing ? std::nullopt : devRecord0);
                EXPECT_EQ(WsRecord(c.wsPath), bothMissing ? std::nullopt : wsRecord0);
            }
        }
        // A folder pair unchanged on both sides ends after the first pass.
        if (c.device == kStatusUnchanged && c.ws == kStatusUnchanged) {
            EXPECT_EQ(engine->Counts().deviceCalls - calls, 1u);
        }
    }
}

}  // namespace
}  // namespace vorlan::filesync::testing
