// Two-way synchronisation where a side cannot be trusted: what cannot be
// read, reached or recorded is reported and acted on by nobody, and a
// pair changed on both sides is left for the user.
#include <gtest/gtest.h>

#include <functional>

#include "Bstr.h"
#include "Crc32.h"
#include "FileCrc.h"
#include "TwoWayFixture.h"
#include "VorlanMessages.h"

namespace vorlan::filesync::testing {
namespace {

constexpr char kFolderItem[] = "QV_TWO_WAY_FOLDER_SYNC";

class TwoWaySafetyTest : public TwoWaySuite {
protected:
    // A folder pair kept in step once: "a.txt" and "sub\b.txt" on both sides.
    void SyncedPair(CFileSync& engine, const std::string& ws, const std::string& dev) {
        PutLocal(ws + "\\a.txt", "alpha");
        PutLocal(ws + "\\sub\\b.txt", "beta");
        ASSERT_EQ(Run(engine, ws, dev, kFolderItem), S_OK);
        ASSERT_EQ(DeviceFile(dev + "\\sub\\b.txt"), "beta");
        ASSERT_TRUE(WsRecord(ws + "\\sub\\b.txt"));
        ASSERT_TRUE(DeviceRecord(dev + "\\sub\\b.txt"));
        MarkEvents();
    }
};

TEST_F(TwoWaySafetyTest, ConflictsAreMarkedLeftAloneAndStayMarked) {
    auto engine = Engine();
    const std::string ws = Local("c"), dev = "\\C";
    SyncedPair(*engine, ws, dev);
    PutLocal(ws + "\\a.txt", "alpha edited on the workstation");
    PutDevice(dev + "\\a.txt", "alpha edited on the device");
    for (int run = 0; run < 2; ++run) {
        MarkEvents();
        EXPECT_EQ(Run(*engine, ws, dev, kFolderItem), E_FAIL) << run;
        ExpectOneEvent(EVT_TWO_WAY_DIFFERENT, ws + "\\a.txt");
        EXPECT_EQ(WsConflict(ws + "\\a.txt"), dev + "\\a.txt");
        EXPECT_EQ(LocalFile(ws + "\\a.txt"), "alpha edited on the workstation");
        EXPECT_EQ(DeviceFile(dev + "\\a.txt"), "alpha edited on the device");
        EXPECT_EQ(WsRecord(ws + "\\a.txt"), Crc32("alpha"));
        EXPECT_EQ(DeviceRecord(dev + "\\a.txt"), Crc32("alpha"));
    }
    // The user picks the workstation's copy, as the conflict manager does:
    // copied over, then both records written, which ends the mark.
    ASSERT_EQ(Run(*engine, ws + "\\a.txt", dev + "\\a.txt", ""), S_OK);
    TwoWayState state = LoadState();
    state.WriteStoredCrc(ws + "\\a.txt", Crc32("alpha edited on the workstation"));
    SaveState(state);
    SetDeviceRecord(dev + "\\a.txt", Crc32("alpha edited on the workstation"));
    MarkEvents();
    EXPECT_EQ(Run(*engine, ws, dev, kFolderItem), S_OK);
    EXPECT_TRUE(Events().empty());
    EXPECT_FALSE(WsConflict(ws + "\\a.txt"));
    EXPECT_FALSE(WsConflict(ws));
}

TEST_F(TwoWaySafetyTest, WhatCannotBeReadOrReachedChangesNothing) {
    auto engine = Engine();
    const struct {
        const char* name;
        // Makes a side untrustworthy; returns what undoes it.
        std::function<std::function<void()>(TwoWaySafetyTest&, const std::string& ws, const std::string& dev)> arrange;
        uint32_t event;
        bool insertionIsDevice;  // the event names the device side (else the workstation's)
        const char* insertionTail;
        bool fileItem;  // the pair is a.txt alone
    } cases[] = {
        {"the workstation folder's parent is gone (an offline share)",
         [](TwoWaySafetyTest&, const std::string& ws, const std::string&) {
             const std::string parent = ws.substr(0, ws.rfind('\\'));
             EXPECT_TRUE(MoveFileA(parent.c_str(), (parent + "-away").c_str()));
             return std::function<void()>([parent] { MoveFileA((parent + "-away").c_str(), parent.c_str()); });
         },
         EVT_NOT_A_URL, false, "", false},
        {"the device folder's card is missing",
         [](TwoWaySafetyTest& t, const std::string&, const std::string& dev) {
             const std::wstring card = t.DeviceHost(dev.substr(0, dev.rfind('\\')));
             EXPECT_TRUE(MoveFileW(card.c_str(), (card + L"-away").c_str()));
             return std::function<void()>([card] { MoveFileW((card + L"-away").c_str(), card.c_str()); });
         },
         EVT_NOT_A_URL, true, "", false},
        {"a device file that cannot be read",
         [](TwoWaySafetyTest&, const std::string&, const std::string& dev) {
             EXPECT_TRUE(device->SetUnreadable(com::WideFromAnsi(dev + "\\a.txt"), true));
             return std::function<void()>([dev] { device->SetUnreadable(com::WideFromAnsi(dev + "\\a.txt"), false); });
         },
         EVT_FILE_LOCKED, true, "\\a.txt", true},
        {"a device file held open by a device program",
         [](TwoWaySafetyTest&, const std::string&, const std::string& dev) {
             const uint32_t hold = device->HoldFile(com::WideFromAnsi(dev + "\\a.txt"), 0);
             EXPECT_NE(hold, 0u);
             return std::function<void()>([hold] { device->ReleaseFile(hold); });
         },
         EVT_FILE_LOCKED, true, "\\a.txt", true},
        {"a workstation file held open by another program",
         [](TwoWaySafetyTest&, const std::string& ws, const std::string&) {
             HANDLE h = CreateFileA((ws + "\\a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             EXPECT_NE(h, INVALID_HANDLE_VALUE);
             return std::function<void()>([h] { CloseHandle(h); });
         },
         EVT_FILE_LOCKED, false, "\\a.txt", true},
        {"a folder whose device tree holds a file in use",
         [](TwoWaySafetyTest&, const std::string&, const std::string& dev) {
             const uint32_t hold = device->HoldFile(com::WideFromAnsi(dev + "\\a.txt"), 0);
             EXPECT_NE(hold, 0u);
             return std::function<void()>([hold] { device->ReleaseFile(hold); });
         },
         EVT_FILE_LOCKED, true, "", false},
        {"a folder whose workstation tree holds a file in use",
         [](TwoWaySafetyTest&, const std::string& ws, const std::string&) {
             HANDLE h = CreateFileA((ws + "\\a.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             EXPECT_NE(h, INVALID_HANDLE_VALUE);
             return std::function<void()>([h] { CloseHandle(h); });
         },
         EVT_FILE_LOCKED, false, "", false},
        {"the desktop state file cannot be read",
         [](TwoWaySafetyTest& t, const std::string&, const std::string&) {
             const std::string path = t.StatePath();
             EXPECT_TRUE(MoveFileA(path.c_str(), (path + "-away").c_str()));
             EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
             return std::function<void()>([path] {
                 RemoveDirectoryA(path.c_str());
                 MoveFileA((path + "-away").c_str(), path.c_str());
             });
         },
         EVT_DEVICE_RECORDS_UNREADABLE, false, "", false},
        {"the device's record store is damaged",
         [](TwoWaySafetyTest& t, const std::string&, const std::string&) {
             const std::string store = com::AnsiFromWide(t.DeviceHost("\\Program Files\\Dravenhall\\Vorlan\\TwoWaySync.dat"));
             const std::string bytes = vorlan::testing::ReadFileBytes(store);
             vorlan::testing::WriteFileBytes(store, std::string("[\0\0\0", 4) + bytes);
             return std::function<void()>([store, bytes] { vorlan::testing::WriteFileBytes(store, bytes); });
         },
         EVT_DEVICE_RECORDS_UNREADABLE, true, "", false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string top = "s" + std::to_string(n++);
        const std::string ws = Local(top + "\\share\\pair"), dev = "\\" + top + "\\Card\\pair";
        SyncedPair(*engine, ws, dev);
        // Each side would otherwise ask for something: the other side changed
        // and deleted entries.
        PutLocal(ws + "\\a.txt", "alpha changed");
        ASSERT_TRUE(DeleteFileW(DeviceHost(dev + "\\sub\\b.txt").c_str()));
        const std::string wsRoot = Local(top), devRoot = "\\" + top;
        const auto before = Everything(wsRoot, devRoot);
        const auto undo = c.arrange(*this, ws, dev);
        MarkEvents();
        const HRESULT hr = c.fileItem ? Run(*engine, ws + "\\a.txt", dev + "\\a.txt", "QV_TWO_WAY_FILE_SYNC")
                                      : Run(*engine, ws, dev, kFolderItem);
        EXPECT_EQ(hr, E_FAIL);
        ExpectOneEvent(c.event, (c.insertionIsDevice ? dev : ws) + c.insertionTail);
        undo();
        EXPECT_EQ(Everything(wsRoot, devRoot), before);
    }
}

TEST_F(TwoWaySafetyTest, AFailedCopyRecordsNothingAndTheNextRunCopies) {
    auto engine = Engine();
    const std::string ws = Local("w"), dev = "\\W";
    SyncedPair(*engine, ws, dev);
    PutLocal(ws + "\\a.txt", "alpha changed");
    const uint32_t hold = device->HoldFile(com::WideFromAnsi(dev + "\\a.txt"), FILE_SHARE_READ);
    ASSERT_NE(hold, 0u);
    EXPECT_EQ(Run(*engine, ws, dev, kFolderItem), E_FAIL);
    EXPECT_EQ(EventIds(), std::vector<uint32_t>{EVT_FILE_NOT_WRITTEN});
    EXPECT_EQ(DeviceFile(dev + "\\a.txt"), "alpha");
    EXPECT_EQ(WsRecord(ws + "\\a.txt"), Crc32("alpha"));
    EXPECT_EQ(DeviceRecord(dev + "\\a.txt"), Crc32("alpha"));
    device->ReleaseFile(hold);
    MarkEvents();
    EXPECT_EQ(Run(*engine, ws, dev, kFolderItem), S_OK);
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(DeviceFile(dev + "\\a.txt"), "alpha changed");
    EXPECT_EQ(DeviceRecord(dev + "\\a.txt"), Crc32("alpha changed"));
}

TEST_F(TwoWaySafetyTest, AFolderDeletionTakesOnlyWhatTheFiltersTakeAndKeepsRecordsOnFailure) {
    auto engine = Engine();
    const std::string item = std::string(kFolderItem) + " | QV_EXCLUSION_FILTER=*.bak";
    const std::string ws = Local("x"), dev = "\\X";
    SyncedPair(*engine, ws, dev);
    ASSERT_EQ(Run(*engine, ws, dev, item), S_OK);
    // Entries the item never took, on the device only.
    PutDevice(dev + "\\sub\\keep.bak", "device's own");
    PutDevice(dev + "\\gone\\x.txt", "x");
    ASSERT_EQ(Run(*engine, ws, dev, item), S_OK);
    ASSERT_EQ(LocalFile(ws + "\\gone\\x.txt"), "x");

    // A device program holds a file: the removal fails, and the records stay.
    RemoveLocalTree(ws);
    ASSERT_EQ(GetFileAttributesA(ws.c_str()), INVALID_FILE_ATTRIBUTES);
    // Readable, so the folder's status can be had, but not deletable.
    const uint32_t hold = device->HoldFile(com::WideFromAnsi(dev + "\\gone\\x.txt"), FILE_SHARE_READ);
    ASSERT_NE(hold, 0u);
    MarkEvents();
    EXPECT_EQ(Run(*engine, ws, dev, item), E_FAIL);
    EXPECT_EQ(EventIds(), (std::vector<uint32_t>{EVT_FILE_NOT_DELETED, EVT_FOLDER_NOT_REMOVED}));
    EXPECT_TRUE(WsRecord(ws));
    EXPECT_TRUE(DeviceRecord(dev));
    EXPECT_TRUE(DeviceFile(dev + "\\gone\\x.txt"));
    device->ReleaseFile(hold);

    // Released: what the filters take goes, with its records; the excluded
    // file and the folder that holds it stay.
    MarkEvents();
    EXPECT_EQ(Run(*engine, ws, dev, item), S_OK);
    EXPECT_TRUE(Events().empty());
    EXPECT_FALSE(DeviceFile(dev + "\\a.txt"));
    EXPECT_FALSE(DeviceFile(dev + "\\gone\\x.txt"));
    EXPECT_FALSE(DeviceFile(dev + "\\sub\\b.txt"));
    EXPECT_EQ(DeviceFile(dev + "\\sub\\keep.bak"), "device's own");
    EXPECT_EQ(GetFileAttributesW(DeviceHost(dev + "\\gone").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(DeviceRecord(dev + "\\a.txt"));
    EXPECT_FALSE(DeviceRecord(dev + "\\sub\\b.txt"));
    EXPECT_EQ(LoadState().Sections(), std::vector<std::string>{});
}

}  // namespace
}  // namespace vorlan::filesync::testing
