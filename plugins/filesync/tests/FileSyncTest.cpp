// The file engine against an emulated device: every operation, folder
// walks with filters, unchanged files left alone, and failures reported
// with the event and the result they name.
#include <gtest/gtest.h>

#include "Bstr.h"
#include "CeRapi.h"
#include "Crc32.h"
#include "FileSyncFixture.h"
#include "SideRegistry.h"
#include "Url.h"
#include "VorlanMessages.h"

namespace vorlan::filesync::testing {
namespace {

using vorlan::testing::ReadFileBytes;

std::string Ansi(const std::wstring& text) { return com::AnsiFromWide(text); }

FILETIME LastWrite(const std::wstring& hostPath) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(hostPath.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool SameTime(FILETIME a, FILETIME b) { return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime; }

void SetLastWrite(const std::string& path, ULONGLONG value) {
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME t = {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
    SetFileTime(h, nullptr, nullptr, &t);
    CloseHandle(h);
}

class FileSyncTest : public FileSyncSuite {};

TEST_F(FileSyncTest, CopiesAFileToTheDeviceOnceAndLeavesItAloneUnchanged) {
    PutLocalFile("content\\a.txt", "first content");
    SetLastWrite(Local("content\\a.txt"), 132223104000000000ULL);  // 2020
    CreateDirectoryW(device->HostPath(L"\\Dest").c_str(), nullptr);
    auto engine = Engine();

    // An empty FileAttributes copies OriginUrl, relative to the table, to the device.
    EXPECT_EQ(Run(*engine, "content\\a.txt", "\\Dest\\a.txt", ""), S_OK);
    EXPECT_EQ(DeviceBytes(L"\\Dest\\a.txt"), "first content");
    EXPECT_TRUE(SameTime(LastWrite(device->HostPath(L"\\Dest\\a.txt")), LastWrite(com::WideFromAnsi(Local("content\\a.txt")))));
    EXPECT_EQ(engine->Counts().copied, 1u);

    // Nothing changed: nothing is written, and the engine says so.
    const FILETIME written = LastWrite(device->HostPath(L"\\Dest\\a.txt"));
    EXPECT_EQ(Run(*engine, "content\\a.txt", "\\Dest\\a.txt", ""), S_OK);
    EXPECT_EQ(engine->Counts().copied, 1u);
    EXPECT_EQ(engine->Counts().unchanged, 1u);
    EXPECT_TRUE(SameTime(LastWrite(device->HostPath(L"\\Dest\\a.txt")), written));

    // A changed origin is copied again, also with the same size.
    PutLocalFile("content\\a.txt", "other content");
    EXPECT_EQ(Run(*engine, "content\\a.txt", "\\Dest\\a.txt", "QV_CREATE_FILE"), S_OK);
    EXPECT_EQ(DeviceBytes(L"\\Dest\\a.txt"), "other content");
    EXPECT_EQ(engine->Counts().copied, 2u);
    EXPECT_TRUE(Events().empty());
}

TEST_F(FileSyncTest, EveryOperationAgainstTheDevice) {
    auto engine = Engine();
    PutLocalFile("src\\one.txt", "one");
    PutDeviceFile(L"\\Ops\\dev.txt", "from the device");
    PutDeviceFile(L"\\Ops\\gone.txt", "to delete");
    PutDeviceFile(L"\\Ops\\Tree\\Inner\\Deepest\\x.txt", "x");
    PutLocalFile("del\\gone.txt", "to delete");
    PutLocalFile("deltree\\inner\\x.txt", "x");

    const struct {
        const char* origin;
        const char* destination;
        const char* attributes;
    } items[] = {
        {"src\\one.txt", "\\Ops\\one.txt", "QV_CREATE_FILE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY"},
        {"", "\\Ops\\gone.txt", "QV_DELETE_FILE"},
        {"", "\\Ops\\never-there.txt", "QV_DELETE_FILE"},
        {"", "\\Ops\\New\\Level\\Three", "QV_CREATE_FOLDER"},
        {"", "\\Ops\\Tree", "QV_DELETE_FOLDER"},
        {"src\\one.txt", "copy\\one.txt", "QV_LOCAL_CREATE_FILE"},
        {"", "del\\gone.txt", "QV_LOCAL_DELETE_FILE"},
        {"", "made\\two\\levels", "QV_LOCAL_CREATE_FOLDER"},
        {"", "deltree", "QV_LOCAL_DELETE_FOLDER"},
        {"\\Ops\\dev.txt", "back\\dev.txt", "QV_CREATE_FILE_FROM_CE"},
        {"\\Ops\\dev.txt", "\\Ops\\moved.txt", "QV_LOCAL_CREATE_FILE_FROM_CE"},
        // A move is a copy and a delete.
        {"", "\\Ops\\dev.txt", "QV_DELETE_FILE"},
    };
    CreateDirectoryA(Local("copy").c_str(), nullptr);
    CreateDirectoryA(Local("back").c_str(), nullptr);
    for (const auto& item : items)
        EXPECT_EQ(Run(*engine, item.origin, item.destination, item.attributes), S_OK) << item.attributes << " " << item.destination;

    EXPECT_EQ(DeviceBytes(L"\\Ops\\one.txt"), "one");
    EXPECT_EQ(GetFileAttributesW(device->HostPath(L"\\Ops\\one.txt").c_str()) & 0x3, 0x3u) << "hidden and read-only";
    EXPECT_FALSE(DeviceExists(L"\\Ops\\gone.txt"));
    EXPECT_TRUE(GetFileAttributesW(device->HostPath(L"\\Ops\\New\\Level\\Three").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(DeviceExists(L"\\Ops\\Tree"));
    EXPECT_EQ(ReadFileBytes(Local("copy\\one.txt")), "one");
    EXPECT_EQ(GetFileAttributesA(Local("del\\gone.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(Local("made\\two\\levels").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(Local("deltree").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadFileBytes(Local("back\\dev.txt")), "from the device");
    EXPECT_EQ(DeviceBytes(L"\\Ops\\moved.txt"), "from the device");
    EXPECT_FALSE(DeviceExists(L"\\Ops\\dev.txt"));
    EXPECT_TRUE(Events().empty());
    SetFileAttributesW(device->HostPath(L"\\Ops\\one.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileSyncTest, FolderTreeToTheDeviceAndBack) {
    PutLocalFile("tree\\a.txt", "a");
    PutLocalFile("tree\\b.doc", "b");
    PutLocalFile("tree\\docs\\c.txt", "c");
    PutLocalFile("tree\\docs\\deep\\d.txt", "d");
    CreateDirectoryA(Local("tree\\empty").c_str(), nullptr);
    const std::vector<std::string> tree = Tree(Local("tree"));
    auto engine = Engine();

    EXPECT_EQ(Run(*engine, "tree", "\\Tree\\Copy", "QV_COPY_FOLDER_CONTENT"), S_OK);
    EXPECT_EQ(Tree(Ansi(device->HostPath(L"\\Tree\\Copy"))), tree);
    EXPECT_EQ(engine->Counts().copied, 4u);
    // Again with nothing changed: every file found equal, none written.
    EXPECT_EQ(Run(*engine, "tree", "\\Tree\\Copy", "QV_COPY_FOLDER_CONTENT"), S_OK);
    EXPECT_EQ(engine->Counts().copied, 4u);
    EXPECT_EQ(engine->Counts().unchanged, 4u);

    EXPECT_EQ(Run(*engine, "\\Tree\\Copy", "back", "QV_COPY_FOLDER_CONTENT_FROM_CE"), S_OK);
    EXPECT_EQ(Tree(Local("back")), tree);
    EXPECT_EQ(Run(*engine, "\\Tree\\Copy", "\\Tree\\Second", "QV_LOCAL_COPY_FOLDER_CONTENT_FROM_CE"), S_OK);
    EXPECT_EQ(Tree(Ansi(device->HostPath(L"\\Tree\\Second"))), tree);
    EXPECT_EQ(Run(*engine, "tree", "local", "QV_LOCAL_COPY_FOLDER_CONTENT"), S_OK);
    EXPECT_EQ(Tree(Local("local")), tree);

    // An empty origin folder still makes its destination.
    CreateDirectoryA(Local("nothing").c_str(), nullptr);
    EXPECT_EQ(Run(*engine, "nothing", "\\Tree\\Empty\\Made", "QV_COPY_FOLDER_CONTENT"), S_OK);
    EXPECT_TRUE(DeviceExists(L"\\Tree\\Empty\\Made"));
    EXPECT_TRUE(Events().empty());
}

TEST_F(FileSyncTest, FiltersChooseFilesAndFolders) {
    PutLocalFile("mixed\\a.txt", "a");
    PutLocalFile("mixed\\B.TXT", "b");
    PutLocalFile("mixed\\a.txt.bak", "bak");
    PutLocalFile("mixed\\~a.txt", "lock");
    PutLocalFile("mixed\\docs\\c.txt", "c");
    PutLocalFile("mixed\\notes.txt\\d.txt", "d");
    auto engine = Engine();

    const struct {
        const char* attributes;
        std::vector<std::string> want;
    } cases[] = {
        {"QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*.txt",
         {"B.TXT=b", "a.txt=a", "notes.txt\\", "notes.txt\\d.txt=d", "~a.txt=lock"}},
        {"QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*.txt | QV_EXCLUSION_FILTER=~*:notes*",
         {"B.TXT=b", "a.txt=a"}},
        {"QV_COPY_FOLDER_CONTENT | QV_EXCLUSION_FILTER=*.bak",
         {"B.TXT=b", "a.txt=a", "docs\\", "docs\\c.txt=c", "notes.txt\\", "notes.txt\\d.txt=d", "~a.txt=lock"}},
        {"QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=a*.txt:docs", {"a.txt=a", "docs\\"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::wstring target = L"\\Filtered\\" + std::to_wstring(n++);
        EXPECT_EQ(Run(*engine, "mixed", Ansi(target), c.attributes), S_OK) << c.attributes;
        EXPECT_EQ(Tree(Ansi(device->HostPath(target))), c.want) << c.attributes;
    }
    EXPECT_TRUE(Events().empty());
}

TEST_F(FileSyncTest, DeviceRootJoinsWithOneSeparator) {
    PutLocalFile("rooted\\r1.txt", "r1");
    PutLocalFile("rooted\\rsub\\r2.txt", "r2");
    auto engine = Engine();
    EXPECT_EQ(Run(*engine, "rooted", "\\", "QV_COPY_FOLDER_CONTENT"), S_OK);
    EXPECT_EQ(DeviceBytes(L"\\r1.txt"), "r1");
    EXPECT_EQ(DeviceBytes(L"\\rsub\\r2.txt"), "r2");

    // The root as origin: only what the filter takes ("\Windows" is not).
    EXPECT_EQ(Run(*engine, "\\", "fromroot", "QV_COPY_FOLDER_CONTENT_FROM_CE | QV_INCLUSION_FILTER=r*"), S_OK);
    EXPECT_EQ(Tree(Local("fromroot")), (std::vector<std::string>{"r1.txt=r1", "rsub\\", "rsub\\r2.txt=r2"}));
    EXPECT_TRUE(Events().empty());
    DeleteFileW(device->HostPath(L"\\r1.txt").c_str());
}

TEST_F(FileSyncTest, WalkedNamesAreTakenAsTheyAre) {
    // Percent signs in names found by a walk are never unescaped or expanded.
    PutLocalFile("odd\\My%20File.txt", "escaped");
    PutLocalFile("odd\\My File.txt", "plain");
    PutLocalFile("odd\\%TEMP%x.log", "variable");
    auto engine = Engine();
    EXPECT_EQ(Run(*engine, "odd", "\\Odd", "QV_COPY_FOLDER_CONTENT"), S_OK);
    EXPECT_EQ(Tree(Ansi(device->HostPath(L"\\Odd"))),
              (std::vector<std::string>{"%TEMP%x.log=variable", "My File.txt=plain", "My%20File.txt=escaped"}));
    EXPECT_EQ(Run(*engine, "\\Odd", "oddback", "QV_COPY_FOLDER_CONTENT_FROM_CE"), S_OK);
    EXPECT_EQ(Tree(Local("oddback")), Tree(Local("odd")));
}

TEST_F(FileSyncTest, AbsoluteAndVariablePathsAreNotCombinedWithTheTable) {
    vorlan::testing::TempFolder elsewhere;
    vorlan::testing::WriteFileBytes(elsewhere / "abs.txt", "absolute");
    SetEnvironmentVariableA("FELDANE_TEST_DIR", elsewhere.Path().c_str());
    auto engine = Engine();
    EXPECT_EQ(Run(*engine, elsewhere / "abs.txt", "\\abs.txt", ""), S_OK);
    EXPECT_EQ(Run(*engine, "%FELDANE_TEST_DIR%\\abs.txt", "\\var.txt", ""), S_OK);
    EXPECT_EQ(Run(*engine, "abs.txt", "%FELDANE_TEST_DIR%\\local.txt", "QV_LOCAL_CREATE_FILE"), STG_E_FILENOTFOUND)
        << "abs.txt is not beside the table";
    PutLocalFile("abs.txt", "beside the table");
    EXPECT_EQ(Run(*engine, "abs.txt", elsewhere / "copy.txt", "QV_LOCAL_CREATE_FILE"), S_OK);
    EXPECT_EQ(Run(*engine, "file:///" + elsewhere.Path() + "/abs.txt", "\\url.txt", ""), S_OK);
    EXPECT_EQ(DeviceBytes(L"\\abs.txt"), "absolute");
    EXPECT_EQ(DeviceBytes(L"\\var.txt"), "absolute");
    EXPECT_EQ(ReadFileBytes(elsewhere / "copy.txt"), "beside the table");
    EXPECT_EQ(DeviceBytes(L"\\url.txt"), "absolute");
    SetEnvironmentVariableA("FELDANE_TEST_DIR", nullptr);

    // A file URL's escapes are undone; a device origin given as a local
    // path or file URL names the device path after its drive.
    vorlan::testing::WriteFileBytes(elsewhere / "with space.txt", "spaced");
    EXPECT_EQ(Run(*engine, "file:///" + elsewhere.Path() + "/with%20space.txt", "\\spaced.txt", ""), S_OK);
    EXPECT_EQ(DeviceBytes(L"\\spaced.txt"), "spaced");
    EXPECT_EQ(Run(*engine, "file:///C:/spaced.txt", elsewhere / "from-device.txt", "QV_CREATE_FILE_FROM_CE"), S_OK);
    EXPECT_EQ(ReadFileBytes(elsewhere / "from-device.txt"), "spaced");

    // A UNC path is taken as it is, on either side of the item.
    const struct {
        const char* text;
        BOOL destination;
    } unc[] = {{"\\\\server\\share\\a.txt", FALSE}, {"\\\\server\\share\\dir\\b.txt", TRUE}};
    for (const auto& u : unc) {
        std::string out;
        EXPECT_EQ(engine->ResolveItemPath(u.text, FALSE, u.destination, out), S_OK);
        std::string local;
        ASSERT_EQ(UrlToLocalPath(out.c_str(), local), S_OK) << out;
        EXPECT_EQ(local, u.text);
    }
}

TEST(JoinPathTest, OneSeparatorAlsoAfterARoot) {
    EXPECT_EQ(JoinPath("\\", "a.txt"), "\\a.txt");
    EXPECT_EQ(JoinPath("C:\\", "a.txt"), "C:\\a.txt");
    EXPECT_EQ(JoinPath("\\Dev", "a.txt"), "\\Dev\\a.txt");
    EXPECT_EQ(JoinPath("C:\\ws", "sub"), "C:\\ws\\sub");
}

// Bytes whose CRC-32 is 0: a prefix, then four bytes solved for.
std::string ZeroCrcBytes() {
    std::string bytes = "a file whose checksum is zero....";
    const size_t at = bytes.size() - 4;
    auto crcWith = [&](uint32_t suffix) {
        std::string b = bytes;
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(suffix >> (8 * i));
        return Crc32(b);
    };
    const uint32_t base = crcWith(0);
    uint32_t column[32];
    for (int i = 0; i < 32; ++i) column[i] = crcWith(1u << i) ^ base;
    // Solve column * s = base over GF(2), by elimination on (column, unit) pairs.
    uint32_t unit[32];
    for (int i = 0; i < 32; ++i) unit[i] = 1u << i;
    uint32_t target = base, solution = 0;
    for (int bit = 0; bit < 32; ++bit) {
        int pivot = -1;
        for (int i = bit; i < 32; ++i)
            if (column[i] >> bit & 1) pivot = i;
        if (pivot < 0) continue;
        std::swap(column[bit], column[pivot]);
        std::swap(unit[bit], unit[pivot]);
        for (int i = 0; i < 32; ++i)
            if (i != bit && (column[i] >> bit & 1)) column[i] ^= column[bit], unit[i] ^= unit[bit];
        if (target >> bit & 1) target ^= column[bit], solution ^= unit[bit];
    }
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(solution >> (8 * i));
    return bytes;
}

TEST_F(FileSyncTest, AMissingDestinationIsNeverEqual) {
    const std::string bytes = ZeroCrcBytes();
    ASSERT_EQ(Crc32(bytes), 0u);
    PutLocalFile("zero.bin", bytes);
    auto engine = Engine();
    EXPECT_EQ(Run(*engine, "zero.bin", "\\zero.bin", ""), S_OK);
    EXPECT_EQ(DeviceBytes(L"\\zero.bin"), bytes);
    EXPECT_EQ(Run(*engine, "zero.bin", "zero-copy.bin", "QV_LOCAL_CREATE_FILE"), S_OK);
    EXPECT_EQ(ReadFileBytes(Local("zero-copy.bin")), bytes);
    EXPECT_EQ(Run(*engine, "\\zero.bin", "zero-back.bin", "QV_CREATE_FILE_FROM_CE"), S_OK);
    EXPECT_EQ(ReadFileBytes(Local("zero-back.bin")), bytes);
}

class FileSyncFailureTest : public FileSyncSuite {};

TEST_F(FileSyncFailureTest, BadItemsGiveTheirEvents) {
    PutLocalFile("here.txt", "here");
    PutLocalFile("huge\\a.txt", "a");
    auto engine = Engine();
    const struct {
        const char* origin;
        const char* destination;
        const char* attributes;
        HRESULT result;
        uint32_t event;
        const char* insertion;
    } cases[] = {
        {"here.txt", "", "", E_INVALIDARG, EVT_NO_DESTINATION, ""},
        {"", "\\nothing.txt", "", E_INVALIDARG, EVT_NOT_A_URL, ""},
        {"dev\\x.txt", "x.txt", "QV_CREATE_FILE_FROM_CE", E_FAIL, EVT_NOT_A_DEVICE_PATH, "dev\\x.txt"},
        {"\\missing.txt", "x.txt", "QV_CREATE_FILE_FROM_CE", STG_E_FILENOTFOUND, EVT_CANNOT_OPEN, "\\missing.txt"},
        {"\\NoFolder", "nf", "QV_COPY_FOLDER_CONTENT_FROM_CE", E_INVALIDARG, EVT_NOT_A_URL, "\\NoFolder"},
        // A two-way pair needs a local workstation side.
        {"http://127.0.0.1:1/a.txt", "\\a.txt", "QV_TWO_WAY_FILE_SYNC", E_INVALIDARG, EVT_NOT_A_DEVICE_PATH,
         "http://127.0.0.1:1/a.txt"},
        {"ftp://127.0.0.1:1/huge", "\\Huge", "QV_TWO_WAY_FOLDER_SYNC", E_INVALIDARG, EVT_NOT_A_DEVICE_PATH,
         "ftp://127.0.0.1:1/huge"},
        {"http://127.0.0.1:1/folder", "\\Web", "QV_COPY_FOLDER_CONTENT", E_INVALIDARG, EVT_NOT_A_DEVICE_PATH,
         "http://127.0.0.1:1/folder"},
        {"", "\\", "QV_DELETE_FOLDER", E_INVALIDARG, EVT_FOLDER_NOT_REMOVED, "\\"},
        {"", "\\", "QV_DELETE_FILE", E_INVALIDARG, EVT_FILE_NOT_DELETED, "\\"},
    };
    for (const auto& c : cases) {
        SetUp();
        EXPECT_EQ(Run(*engine, c.origin, c.destination, c.attributes), c.result) << c.origin << " " << c.attributes;
        ExpectOneEvent(c.event, c.insertion);
    }

    EXPECT_TRUE(DeviceExists(L"\\Windows\\Ostrum.dll")) << "the device's root is never removed";

    SetUp();
    const std::string missing = Local("missing.txt");
    EXPECT_EQ(Run(*engine, missing, "\\m.txt", ""), STG_E_FILENOTFOUND);
    ExpectOneEvent(EVT_CANNOT_OPEN, missing);

    SetUp();
    EXPECT_EQ(engine->PerformTransfer(nullptr), E_INVALIDARG);
    ExpectOneEvent(EVT_ITEM_UNUSABLE);

    // A filter list that cannot be used fails the item; nothing is copied unfiltered.
    SetUp();
    EXPECT_EQ(Run(*engine, "huge", "\\Huge", "QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=" + std::string(2000, '?')),
              E_FAIL);
    ExpectOneEvent(EVT_ITEM_UNUSABLE);
    EXPECT_FALSE(DeviceExists(L"\\Huge"));
}

TEST_F(FileSyncFailureTest, LockedFilesAreFailuresAndKeepTheirContent) {
    auto engine = Engine();
    PutDeviceFile(L"\\Locked\\old.txt", "old content");
    PutLocalFile("new.txt", "new content");

    // A destination the device holds open cannot be written, deleted or removed.
    const uint32_t hold = device->HoldFile(L"\\Locked\\old.txt", 0);
    ASSERT_NE(hold, 0u);
    SetUp();
    EXPECT_FALSE(SUCCEEDED(Run(*engine, "new.txt", "\\Locked\\old.txt", "")));
    ExpectOneEvent(EVT_FILE_NOT_WRITTEN, "\\Locked\\old.txt");
    SetUp();
    EXPECT_FALSE(SUCCEEDED(Run(*engine, "", "\\Locked\\old.txt", "QV_DELETE_FILE")));
    ExpectOneEvent(EVT_FILE_NOT_DELETED, "\\Locked\\old.txt");
    SetUp();
    EXPECT_FALSE(SUCCEEDED(Run(*engine, "", "\\Locked", "QV_DELETE_FOLDER")));
    ExpectOneEvent(EVT_FOLDER_NOT_REMOVED, "\\Locked");
    // A device origin held open is locked.
    SetUp();
    EXPECT_EQ(Run(*engine, "\\Locked\\old.txt", "got.txt", "QV_CREATE_FILE_FROM_CE"), STG_E_SHAREVIOLATION);
    ExpectOneEvent(EVT_FILE_LOCKED, "\\Locked\\old.txt");
    EXPECT_TRUE(device->ReleaseFile(hold));
    EXPECT_EQ(DeviceBytes(L"\\Locked\\old.txt"), "old content");
    EXPECT_EQ(GetFileAttributesA(Local("got.txt").c_str()), INVALID_FILE_ATTRIBUTES);

    // A folder cannot be made where a file is.
    SetUp();
    EXPECT_FALSE(SUCCEEDED(Run(*engine, "", "\\Locked\\old.txt\\sub", "QV_CREATE_FOLDER")));
    ExpectOneEvent(EVT_FOLDER_NOT_CREATED, "\\Locked\\old.txt\\sub");
}

TEST_F(FileSyncFailureTest, OneFailingEntryDoesNotStopTheWalk) {
    PutLocalFile("walk\\a.txt", "a");
    PutLocalFile("walk\\b.txt", "b");
    PutLocalFile("walk\\c.txt", "c");
    const std::string held = Local("walk\\b.txt");
    HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    auto engine = Engine();
    EXPECT_EQ(Run(*engine, "walk", "\\Walk", "QV_COPY_FOLDER_CONTENT"), E_FAIL);
    CloseHandle(h);
    EXPECT_EQ(Tree(Ansi(device->HostPath(L"\\Walk"))), (std::vector<std::string>{"a.txt=a", "c.txt=c"}));
    ExpectOneEvent(EVT_FILE_LOCKED, held);
}

TEST_F(FileSyncFailureTest, InitWithoutDeviceFails) {
    ASSERT_TRUE(device->Disconnect());
    auto engine = Engine(false);
    EXPECT_TRUE(FAILED(engine->Init()));
    ASSERT_TRUE(device->Reconnect());
    ExpectOneEvent(EVT_DEVICE_NOT_CONNECTED);
}

}  // namespace
}  // namespace vorlan::filesync::testing

namespace vorlan::filesync::testing {
namespace {

TEST_F(FileSyncTest, CopiedLibrariesAreRegisteredWhereTheyLand) {
    const std::string deviceDll = Ansi(vorlan::testing::BuildPath(VORLAN_DEVICE_DLL));
    const std::string desktopDll = Ansi(vorlan::testing::BuildPath(VORLAN_DESKTOP_DLL));
    auto engine = Engine();
    const auto registered = [] {
        DWORD value, type, size = sizeof value;
        return QueryValueByPath(CQvCERapiWrapper(TRUE), "HKEY_LOCAL_MACHINE\\SOFTWARE\\RegTest\\Registered",
                                reinterpret_cast<BYTE*>(&value), &type, &size) == ERROR_SUCCESS;
    };
    ASSERT_FALSE(registered());
    const unsigned long calls = engine->Counts().deviceCalls;
    EXPECT_EQ(Run(*engine, deviceDll, "\\Windows\\RegTest.dll", ""), S_OK);
    EXPECT_EQ(engine->Counts().deviceCalls - calls, 2u) << "its checksum, then its registration";
    EXPECT_TRUE(registered());

    SetEnvironmentVariableA("VORLAN_FS_TEST_DLL", nullptr);
    EXPECT_EQ(Run(*engine, desktopDll, "RegTest.dll", "QV_LOCAL_CREATE_FILE"), S_OK);
    char state[32] = {};
    GetEnvironmentVariableA("VORLAN_FS_TEST_DLL", state, sizeof state);
    EXPECT_STREQ(state, "registered");

    // A file that is no module is not loaded to find out.
    PutLocalFile("text.txt", "just text");
    const unsigned long before = engine->Counts().deviceCalls;
    EXPECT_EQ(Run(*engine, "text.txt", "\\text.txt", ""), S_OK);
    EXPECT_EQ(engine->Counts().deviceCalls - before, 1u) << "its checksum only";
}

}  // namespace
}  // namespace vorlan::filesync::testing

namespace vorlan::filesync::testing {
namespace {

// A write that breaks off after half its bytes, as a dropped connection or
// a full disk makes it.
BOOL WINAPI HalfWrite(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED) {
    DWORD done = 0;
    ::WriteFile(file, buffer, size / 2, &done, nullptr);
    if (written) *written = done;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

BOOL WINAPI DeviceHalfWrite(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    CeWriteFile(file, buffer, size / 2, written, overlapped);
    return FALSE;
}

// Writes other bytes than it was given and says all went well.
BOOL WINAPI DeviceGarbledWrite(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    std::string bytes(static_cast<const char*>(buffer), size);
    if (!bytes.empty()) bytes[0] = static_cast<char>(bytes[0] ^ 0x55);
    return CeWriteFile(file, bytes.data(), size, written, overlapped);
}

TEST_F(FileSyncFailureTest, AVerifiedCopyFailsWhenTheDestinationHoldsOtherBytes) {
    PutLocalFile("true.txt", "the bytes sent");
    auto engine = Engine();
    engine->SetSideFactory([](BOOL device) {
        auto table = std::make_unique<CQvCERapiWrapper>(device);
        if (device) table->WriteFile = &DeviceGarbledWrite;
        return table;
    });
    engine->SetVerifyCopies(true);
    SetUp();
    EXPECT_EQ(Run(*engine, "true.txt", "\\garbled.txt", ""), E_FAIL);
    ExpectOneEvent(EVT_FILE_NOT_WRITTEN, "\\garbled.txt");
    EXPECT_EQ(engine->Counts().copied, 0u);
}

TEST_F(FileSyncFailureTest, AWriteThatBreaksOffLeavesNothingHalfWritten) {
    const std::string fresh(5000, 'n');
    PutLocalFile("fresh.bin", fresh);
    PutDeviceFile(L"\\Half\\old.bin", "old device content");
    PutLocalFile("half\\old.bin", "old workstation content");
    auto engine = Engine();
    engine->SetSideFactory([](BOOL device) {
        auto table = std::make_unique<CQvCERapiWrapper>(device);
        table->WriteFile = device ? &DeviceHalfWrite : &HalfWrite;
        return table;
    });
    SetUp();
    EXPECT_TRUE(FAILED(Run(*engine, "fresh.bin", "\\Half\\old.bin", "")));
    ExpectOneEvent(EVT_FILE_NOT_WRITTEN, "\\Half\\old.bin");
    SetUp();
    EXPECT_TRUE(FAILED(Run(*engine, "fresh.bin", "half\\old.bin", "QV_LOCAL_CREATE_FILE")));
    ExpectOneEvent(EVT_FILE_NOT_WRITTEN);
    // Either the old content or no file: never part of the new one.
    const std::wstring onDevice = device->HostPath(L"\\Half\\old.bin");
    if (GetFileAttributesW(onDevice.c_str()) != INVALID_FILE_ATTRIBUTES) {
        EXPECT_EQ(DeviceBytes(L"\\Half\\old.bin"), "old device content");
    }
    if (GetFileAttributesA(Local("half\\old.bin").c_str()) != INVALID_FILE_ATTRIBUTES) {
        EXPECT_EQ(ReadFileBytes(Local("half\\old.bin")), "old workstation content");
    }
    EXPECT_EQ(engine->Counts().copied, 0u);
}

}  // namespace
}  // namespace vorlan::filesync::testing
