// Zephrin on an emulated device, each call made singly through the device's
// replication service, with the state record read back after each.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CeRapi.h"
#include "DeviceEmulator.h"
#include "DeviceInvoke.h"
#include "DeviceService.h"
#include "ReplDevice.h"
#include "ReplStore.h"

namespace vorlan::activesync {
namespace {

using testing::DeviceEmulator;
using testing::RapiSession;

const wchar_t kData[] = L"\\Program Files\\dravenhall\\Vorlan\\Vorlan.txt";
const wchar_t kState[] = L"\\Program Files\\dravenhall\\Vorlan\\Vorlan.dat";
const wchar_t kInstallKey[] = L"SOFTWARE\\Apps\\Dravenhall Vorlan";

struct Record {
    uint32_t oid = 0, synced[2] = {0, 0};
    uint64_t time[2] = {0, 0};
    bool operator==(const Record&) const = default;
};

uint64_t Ticks(const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

class ZephrinTest : public ::testing::Test {
protected:
    void SetUp() override {
        device_.UseForRapi();
        session_ = std::make_unique<RapiSession>();
        ASSERT_TRUE(session_->Connected());
        ASSERT_TRUE(device_.InstallZephrin());
    }
    void TearDown() override { DeviceInitObjType(nullptr, 0); }

    // The state record as the file holds it (zeros past its end).
    Record State() const {
        uint8_t bytes[28] = {};
        HANDLE file = CreateFileW(device_.HostPath(kState).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD read = 0;
            ReadFile(file, bytes, sizeof bytes, &read, nullptr);
            CloseHandle(file);
        }
        Record r;
        std::memcpy(&r.oid, bytes, 4);
        std::memcpy(&r.synced[0], bytes + 4, 4);
        std::memcpy(&r.synced[1], bytes + 8, 4);
        std::memcpy(&r.time[0], bytes + 12, 8);
        std::memcpy(&r.time[1], bytes + 20, 8);
        return r;
    }
    // A device file with these bytes; its identifier.
    uint32_t Write(const wchar_t* path, const std::string& bytes) const {
        HANDLE file = CeCreateFile(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        CeWriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CeCloseHandle(file);
        return Find(path).dwOID;
    }
    CE_FIND_DATA Find(const wchar_t* path) const {
        CE_FIND_DATA found = {};
        HANDLE search = CeFindFirstFile(path, &found);
        if (search != INVALID_HANDLE_VALUE) CeFindClose(search);
        return found;
    }
    uint64_t WriteTime(const wchar_t* path) const { return Ticks(Find(path).ftLastWriteTime); }
    // Moves a file's last write a minute on.
    void Touch(const wchar_t* path) const {
        HANDLE file = CeCreateFile(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        FILETIME later = Find(path).ftLastWriteTime;
        uint64_t ticks = Ticks(later) + 600000000ull;
        later = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        EXPECT_TRUE(CeSetFileTime(file, nullptr, nullptr, &later));
        CeCloseHandle(file);
    }
    void SetInstallDir(const wchar_t* value) const {
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(CeRegCreateKeyEx(HKEY_LOCAL_MACHINE, kInstallKey, 0, nullptr, 0, 0, nullptr, &key, &disposition),
                  ERROR_SUCCESS);
        if (value)
            EXPECT_EQ(CeRegSetValueEx(key, L"InstallDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                      static_cast<DWORD>((wcslen(value) + 1) * 2)),
                      ERROR_SUCCESS);
        else
            CeRegDeleteValue(key, L"InstallDir");
        CeRegCloseKey(key);
    }

    DeviceEmulator device_{testing::kVorlanInstalled};
    std::unique_ptr<RapiSession> session_;
};

TEST_F(ZephrinTest, RegistersItsStoreUnderTheDeviceObjectsKey) {
    const wchar_t key[] = L"Windows CE Services\\synchronization\\objects\\Vorlan";
    ASSERT_EQ(RegisterDeviceDll(L"\\Windows\\Zephrin.dll", FALSE), S_OK);
    HKEY opened = nullptr;
    EXPECT_NE(CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, key, 0, 0, &opened), ERROR_SUCCESS);

    ASSERT_EQ(RegisterDeviceDll(L"\\Windows\\Zephrin.dll", TRUE), S_OK);
    ASSERT_EQ(CeRegOpenKeyEx(HKEY_LOCAL_MACHINE, key, 0, 0, &opened), ERROR_SUCCESS);
    wchar_t store[64] = {};
    DWORD type = 0, size = sizeof store;
    EXPECT_EQ(CeRegQueryValueEx(opened, L"Store", nullptr, &type, reinterpret_cast<BYTE*>(store), &size),
              ERROR_SUCCESS);
    CeRegCloseKey(opened);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 24u);
    EXPECT_STREQ(store, L"Zephrin.dll");

    // Loaded by the service through that value; status reports are all welcome.
    EXPECT_EQ(DeviceReportStatus(L"Vorlan", 1, 0).result, static_cast<uint32_t>(TRUE));
    EXPECT_EQ(DeviceReportStatus(L"Other", 1, 0).result, static_cast<uint32_t>(FALSE));  // no provider for it
}

TEST_F(ZephrinTest, FilesLieBelowTheFirstComponentOfInstallDir) {
    const std::wstring longName = L"\\" + std::wstring(300, L'x');
    const std::wstring longTail = L"\\Apps\\" + std::wstring(600, L'y');  // read whole, then cut
    struct Case {
        const wchar_t* installDir;  // null: no value
        std::wstring dataFile;      // empty: nothing opened
    } cases[] = {
        {L"\\Program Files\\Dravenhall Vorlan", L"\\Program Files\\dravenhall\\Vorlan\\Vorlan.txt"},
        {L"\\Storage Card\\Apps\\X", L"\\Storage Card\\dravenhall\\Vorlan\\Vorlan.txt"},
        {nullptr, L"\\dravenhall\\Vorlan\\Vorlan.txt"},
        {longTail.c_str(), L"\\Apps\\dravenhall\\Vorlan\\Vorlan.txt"},
        {longName.c_str(), L""},
    };
    // Only the over-long one stays without a state file (the folders of the others exist).
    for (const wchar_t* folder : {L"\\Storage Card", L"\\Storage Card\\dravenhall", L"\\Storage Card\\dravenhall\\Vorlan",
                                  L"\\dravenhall", L"\\dravenhall\\Vorlan", L"\\Apps", L"\\Apps\\dravenhall",
                                  L"\\Apps\\dravenhall\\Vorlan"})
        CeCreateDirectory(folder, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.installDir ? c.installDir : L"(none)");
        SetInstallDir(c.installDir);
        const DeviceTypeInfo info = DeviceGetObjTypeInfo(L"Vorlan");
        ASSERT_TRUE(info.Reached());
        EXPECT_EQ(info.result, static_cast<uint32_t>(TRUE));
        EXPECT_EQ(info.name, c.dataFile.substr(0, 79));
        EXPECT_EQ(info.objects, 0u);
        const DeviceCall init = DeviceInitObjType(L"Vorlan", 1);
        EXPECT_EQ(init.result, static_cast<uint32_t>(!c.dataFile.empty()));
        if (!c.dataFile.empty()) {
            std::wstring state = c.dataFile.substr(0, c.dataFile.size() - 3) + L"dat";
            EXPECT_NE(CeGetFileAttributes(state.c_str()), INVALID_FILE_ATTRIBUTES);
        }
        EXPECT_EQ(DeviceInitObjType(nullptr, 0).result, static_cast<uint32_t>(TRUE));
    }
    // The object is reported once the data file is there.
    SetInstallDir(L"\\Program Files\\Dravenhall Vorlan");
    Write(kData, std::string(123, 'a'));
    const DeviceTypeInfo info = DeviceGetObjTypeInfo(L"Vorlan");
    EXPECT_EQ(info.objects, 1u);
    EXPECT_EQ(info.bytes, 123u);
    EXPECT_EQ(Ticks(info.lastWrite), WriteTime(kData));
}

TEST_F(ZephrinTest, PartnerBitsSelectThePartnerWhoseTimeIsKept) {
    Write(kData, "data");
    struct Case {
        uint32_t bit;
        int partner;
    } cases[] = {{0x3, 0}, {0x2, 1}, {0, 1}, {0x1, 0}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bit);
        ASSERT_EQ(DeviceInitObjType(L"Vorlan", c.bit).result, static_cast<uint32_t>(TRUE));
        Touch(kData);
        const Record before = State();
        EXPECT_EQ(DeviceObjectNotify(L"Vorlan", ce::ONF_CLEAR_CHANGE | ce::ONF_FILE, 0, c.bit).result,
                  static_cast<uint32_t>(FALSE));  // marked
        Record expected = before;
        expected.synced[c.partner] = 1;
        expected.time[c.partner] = WriteTime(kData);
        EXPECT_EQ(State(), expected);
    }
}

TEST_F(ZephrinTest, NotificationsReportTheDataFileAgainstTheStateRecord) {
    ASSERT_EQ(DeviceInitObjType(L"Vorlan", 1).result, static_cast<uint32_t>(TRUE));
    uint32_t oid = Write(kData, "installed");
    const uint32_t other = Write(L"\\Program Files\\dravenhall\\Vorlan\\Other.txt", "other");
    Record state;  // what the record should hold after each step

    struct Step {
        const char* what;
        std::function<void()> before;  // what happens first
        uint32_t flags, oid, cbStruct;
        const wchar_t* type;
        BOOL result;
        uint32_t changed, deleted;
        std::function<void()> after;  // what the record gains
    };
    const uint32_t kShort[] = {779, static_cast<uint32_t>(sizeof(ce::OBJNOTIFY) - 1)};
    const Step steps[] = {
        {"fresh install, no flags: changed", [] {}, ce::ONF_FILE, 0, 0, L"Vorlan", TRUE, 1, 0,
         [&] { state.oid = oid; }},
        {"written and reset: partner 0 synchronised",
         [&] {
             ASSERT_EQ(DeviceSetup(false, 0, oid).result, static_cast<uint32_t>(S_OK));
             ASSERT_EQ(DeviceSetPacket({'n', 'e', 'w'}).result, static_cast<uint32_t>(S_OK));
             const DeviceReset reset = DeviceResetSetup(false);
             ASSERT_EQ(reset.result, static_cast<uint32_t>(S_OK));
             oid = Find(kData).dwOID;
             EXPECT_EQ(reset.oidNew, oid);
             state.oid = oid, state.synced[0] = 1, state.time[0] = WriteTime(kData);
             EXPECT_EQ(State(), state);
         },
         ce::ONF_FILE, 0, 0, L"Vorlan", TRUE, 0, 1, [] {}},
        {"unchanged again: one deletion", [] {}, ce::ONF_FILE, 0, 0, L"Vorlan", TRUE, 0, 1, [] {}},
        {"touched: changed", [&] { Touch(kData); }, ce::ONF_FILE, 0, 0, L"Vorlan", TRUE, 1, 0, [] {}},
        {"partner 1 never synchronised: changed",
         [&] { ASSERT_EQ(DeviceInitObjType(L"Vorlan", 2).result, static_cast<uint32_t>(TRUE)); }, ce::ONF_FILE, 0,
         0, L"Vorlan", TRUE, 1, 0, [] {}},
        {"flag changed", [] {}, ce::ONF_FILE | ce::ONF_CHANGED, 0, 0, L"Vorlan", TRUE, 1, 0, [] {}},
        {"flag deleted: identifier forgotten", [] {}, ce::ONF_FILE | ce::ONF_DELETED, 0, 0, L"Vorlan", TRUE, 0, 1,
         [&] { state.oid = 0; }},
        {"clear change: partner 1 marked", [] {}, ce::ONF_FILE | ce::ONF_CLEAR_CHANGE, 0, 0, L"Vorlan", FALSE, 0, 0,
         [&] { state.synced[1] = 1, state.time[1] = WriteTime(kData); }},
        {"another file", [] {}, ce::ONF_FILE, other, 0, L"Vorlan", FALSE, 0, 0, [] {}},
        {"record of 779 bytes", [] {}, ce::ONF_FILE, 0, kShort[0], L"Vorlan", FALSE, 0, 0, [] {}},
        {"record one byte short", [] {}, ce::ONF_FILE, 0, kShort[1], L"Vorlan", FALSE, 0, 0, [] {}},
        {"another type", [] {}, ce::ONF_FILE, 0, 0, L"vorlan", FALSE, 0, 0, [] {}},
        {"clear change without the data file: marking failed",
         [&] { ASSERT_TRUE(CeDeleteFile(kData)); }, ce::ONF_FILE | ce::ONF_CLEAR_CHANGE, 0, 0, L"Vorlan", TRUE, 0, 0,
         [] {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.before();
        const DeviceNotified notified =
            DeviceObjectNotify(step.type, step.flags, step.oid ? step.oid : oid, 1, step.cbStruct);
        ASSERT_TRUE(notified.Reached());
        EXPECT_EQ(notified.result, static_cast<uint32_t>(step.result));
        EXPECT_EQ(notified.changed, step.changed);
        EXPECT_EQ(notified.deleted, step.deleted);
        if (step.result && (step.changed || step.deleted)) {
            EXPECT_EQ(notified.oids, std::vector<uint32_t>{step.oid ? step.oid : oid});
        }
        step.after();
        EXPECT_EQ(State(), state);
    }
}

TEST_F(ZephrinTest, AFileThatCannotBeReadIsNeitherChangedNorDeleted) {
    ASSERT_EQ(DeviceInitObjType(L"Vorlan", 1).result, static_cast<uint32_t>(TRUE));
    const uint32_t oid = Write(kData, "held");
    const uint32_t hold = device_.HoldFile(kData, 0);
    ASSERT_NE(hold, 0u);
    const DeviceNotified notified = DeviceObjectNotify(L"Vorlan", ce::ONF_FILE, oid, 1);
    EXPECT_EQ(notified.result, static_cast<uint32_t>(TRUE));
    EXPECT_EQ(notified.changed, 0u);
    EXPECT_EQ(notified.deleted, 0u);
    device_.ReleaseFile(hold);
}

TEST_F(ZephrinTest, TheHandlerMovesOnePacketAndEndsEachTransferByItsOwnSetup) {
    ASSERT_EQ(DeviceInitObjType(L"Vorlan", 1).result, static_cast<uint32_t>(TRUE));
    const uint32_t oid = Write(kData, std::string(5000, 'z'));

    bool itself = false;
    for (const IID& iid : {IID_IUnknown, IID_IClassFactory, IID_IReplStore}) {
        EXPECT_EQ(DeviceQueryInterface(iid, itself).result, static_cast<uint32_t>(S_OK));
        EXPECT_TRUE(itself);
    }

    // A read and a write outstanding together: ending the write records it
    // and leaves the read's buffer.
    ASSERT_EQ(DeviceSetup(true, 0, oid).result, static_cast<uint32_t>(S_OK));
    ASSERT_EQ(DeviceSetup(false, 0, oid).result, static_cast<uint32_t>(S_OK));
    ASSERT_EQ(DeviceSetPacket(std::vector<BYTE>(5000, 'w')).result, static_cast<uint32_t>(S_OK));
    const DeviceReset written = DeviceResetSetup(false);
    EXPECT_EQ(written.result, static_cast<uint32_t>(S_OK));
    const uint32_t now = Find(kData).dwOID;
    EXPECT_EQ(written.oidNew, now);
    const Record state = State();
    EXPECT_EQ(state.oid, now);
    EXPECT_EQ(state.synced[0], 1u);
    EXPECT_EQ(state.time[0], WriteTime(kData));
    const DevicePacket packet = DeviceGetPacket();
    EXPECT_EQ(packet.result, static_cast<uint32_t>(kLastPacket));
    EXPECT_EQ(packet.bytes, std::vector<BYTE>(4000, 'w'));
    EXPECT_EQ(DeviceResetSetup(true).result, static_cast<uint32_t>(S_OK));

    // An identifier that no longer resolves.
    ASSERT_TRUE(CeDeleteFile(kData));
    ASSERT_EQ(DeviceSetup(true, 0, now).result, static_cast<uint32_t>(S_OK));
    const DevicePacket gone = DeviceGetPacket();
    EXPECT_EQ(gone.result, static_cast<uint32_t>(kCannotReadObject));
    EXPECT_TRUE(gone.bytes.empty());
    DeviceResetSetup(true);
    EXPECT_EQ(DeviceDeleteObj(now).result, static_cast<uint32_t>(kCannotReadObject));
}

TEST_F(ZephrinTest, DeleteObjDeletesOnlyTheDataFile) {
    ASSERT_EQ(DeviceInitObjType(L"Vorlan", 1).result, static_cast<uint32_t>(TRUE));
    const wchar_t kOther[] = L"\\My Documents\\keep.txt";
    const uint32_t other = Write(kOther, "keep");
    const uint32_t data = Write(kData, "data");
    EXPECT_EQ(DeviceDeleteObj(other).result, static_cast<uint32_t>(S_OK));
    EXPECT_NE(CeGetFileAttributes(kOther), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(DeviceDeleteObj(data).result, static_cast<uint32_t>(S_OK));
    EXPECT_EQ(CeGetFileAttributes(kData), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ZephrinTest, ARecordThatCannotBeWrittenFailsWhatItWouldRecord) {
    // A state file the device refuses to write: nothing is recorded, and
    // the write's end says so.
    Write(kState, "");
    ASSERT_TRUE(CeSetFileAttributes(kState, FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(DeviceInitObjType(L"Vorlan", 1).result, static_cast<uint32_t>(FALSE));
    const uint32_t oid = Write(kData, "data");
    EXPECT_EQ(DeviceObjectNotify(L"Vorlan", ce::ONF_FILE, oid, 1).result, static_cast<uint32_t>(FALSE));
    EXPECT_EQ(DeviceObjectNotify(L"Vorlan", ce::ONF_FILE | ce::ONF_CLEAR_CHANGE, oid, 1).result,
              static_cast<uint32_t>(TRUE));  // marking failed
    ASSERT_EQ(DeviceSetup(false, 0, oid).result, static_cast<uint32_t>(S_OK));
    ASSERT_EQ(DeviceSetPacket({'x'}).result, static_cast<uint32_t>(S_OK));
    EXPECT_EQ(DeviceResetSetup(false).result, static_cast<uint32_t>(E_FAIL));
    EXPECT_EQ(State(), Record{});
    EXPECT_EQ(Find(kState).nFileSizeLow, 0u);
    DeviceInitObjType(nullptr, 0);

    // A short record reads as zeros past its end and is written whole.
    ASSERT_TRUE(CeSetFileAttributes(kState, FILE_ATTRIBUTE_NORMAL));
    Write(kState, std::string("\x07\0\0\0\x01\0", 6));
    ASSERT_EQ(DeviceInitObjType(L"Vorlan", 1).result, static_cast<uint32_t>(TRUE));
    const DeviceNotified notified = DeviceObjectNotify(L"Vorlan", ce::ONF_FILE, oid, 1);
    EXPECT_EQ(notified.changed, 1u);  // synchronised, as the short record says, at time zero
    Record expected;
    expected.oid = oid;
    expected.synced[0] = 1;
    EXPECT_EQ(State(), expected);
    EXPECT_EQ(Find(kState).nFileSizeLow, 28u);
}

TEST_F(ZephrinTest, AReconnectionClosesTheStateFileItHeld) {
    // Two starts without an end between them, then one end: the state file
    // is free again for a program that wants it alone.
    ASSERT_EQ(DeviceInitObjType(L"Vorlan", 1).result, static_cast<uint32_t>(TRUE));
    ASSERT_EQ(DeviceInitObjType(L"Vorlan", 1).result, static_cast<uint32_t>(TRUE));
    ASSERT_EQ(DeviceInitObjType(nullptr, 0).result, static_cast<uint32_t>(TRUE));
    const uint32_t hold = device_.HoldFile(kState, 0, GENERIC_READ | GENERIC_WRITE);
    EXPECT_NE(hold, 0u);
    if (hold) device_.ReleaseFile(hold);
}

}  // namespace
}  // namespace vorlan::activesync
