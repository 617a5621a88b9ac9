// The dual file system on the device and on the desktop through the same
// calls, against an emulated device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Bstr.h"
#include "CeRapi.h"
#include "FindRecord.h"
#include "QvDualFileSystem.h"
#include "SharedDeviceSuite.h"
#include "SideRegistry.h"
#include "TestSupport.h"

using vorlan::testing::SharedDeviceSuite;
using vorlan::testing::RapiSession;
using vorlan::testing::TempFolder;

namespace vorlan {
namespace {

std::wstring Wide(const std::string& text) { return com::WideFromAnsi(text); }
std::string Ansi(const std::wstring& text) { return com::AnsiFromWide(text); }

// Seconds after the start of 2020, as file times.
constexpr ULONGLONG kYear2020 = 132223104000000000;
FILETIME Time(ULONGLONG seconds) {
    ULONGLONG value = kYear2020 + seconds * 10000000;
    return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}
ULONGLONG Value(FILETIME t) { return (((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime) - kYear2020) / 10000000; }

// Every file and folder below a desktop folder, for "nothing was touched".
void Walk(const std::wstring& folder, std::vector<std::wstring>& names) {
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring name = d.cFileName;
        if (name == L"." || name == L"..") continue;
        names.push_back(folder + L"\\" + name);
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Walk(folder + L"\\" + name, names);
    } while (FindNextFileW(h, &d));
    FindClose(h);
}

// A table whose reads or writes go wrong part way, as a dropped connection
// or a full disk makes them.
struct Faults {
    static inline decltype(&CeReadFile) realRead = nullptr;
    static inline decltype(&CeWriteFile) realWrite = nullptr;
    static inline int calls = 0;

    // The first read delivers part of what was asked, then the file ends.
    static BOOL WINAPI ShortRead(HANDLE h, LPVOID buffer, DWORD size, LPDWORD got, LPOVERLAPPED overlapped) {
        if (calls++ > 0) {
            *got = 0;
            return TRUE;
        }
        return realRead(h, buffer, size / 2, got, overlapped);
    }
    static BOOL WINAPI FailingRead(HANDLE, LPVOID, DWORD, LPDWORD got, LPOVERLAPPED) {
        *got = 0;
        SetLastError(ERROR_READ_FAULT);
        return FALSE;
    }
    // The first piece is written, the second fails.
    static BOOL WINAPI FailingWrite(HANDLE h, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
        if (calls++ > 0) {
            *written = 0;
            return FALSE;
        }
        return realWrite(h, buffer, size, written, overlapped);
    }
    static BOOL WINAPI FailingSetTime(HANDLE, const FILETIME*, const FILETIME*, const FILETIME*) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The second move fails; the others are made.
    static inline decltype(&CeMoveFile) realMove = nullptr;
    static BOOL WINAPI FailingMove(LPCWSTR from, LPCWSTR to) {
        if (calls++ == 1) return FALSE;
        return realMove(from, to);
    }
    // Every piece is written short.
    static BOOL WINAPI ShortWrite(HANDLE h, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
        return realWrite(h, buffer, size > 1 ? size - 1 : size, written, overlapped);
    }
};

class DualFileSystem : public SharedDeviceSuite<DualFileSystem, ::testing::TestWithParam<bool>> {
protected:
    static void SetUpTestSuite() {
        SharedDeviceSuite::SetUpTestSuite();
        desktop = new TempFolder;
    }
    static void TearDownTestSuite() {
        delete desktop;
        desktop = nullptr;
        SharedDeviceSuite::TearDownTestSuite();
    }
    void SetUp() override {
        ASSERT_TRUE(session.Connected());
        fs.SetDevice(OnDevice());
        static int count = 0;
        const std::wstring name = L"t" + std::to_wstring(++count);
        base = OnDevice() ? L"\\Test" + name : Wide(desktop->Path()) + L"\\" + name;
        ASSERT_EQ(fs.CreateFolderPath(base.c_str()), S_OK);
    }

    bool OnDevice() const { return GetParam(); }
    // fs switched to this side's table with some entries replaced.
    void Faulty(CQvDualFileSystem& faulty, const std::function<void(CQvCERapiWrapper&)>& replace) const {
        auto table = std::make_unique<CQvCERapiWrapper>(OnDevice());
        replace(*table);
        Faults::calls = 0;
        faulty.SetWrapper(std::move(table));
    }
    std::wstring At(const std::wstring& name) const { return base + L"\\" + name; }
    // Where the side's files are on this machine.
    std::wstring Host(const std::wstring& path) const { return OnDevice() ? device->HostPath(path) : path; }
    DWORD Attributes(const std::wstring& path) const { return GetFileAttributesW(Host(path).c_str()); }
    bool Exists(const std::wstring& path) const { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

    HRESULT Write(const std::wstring& path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_ARCHIVE) {
        return fs.WriteWholeFile(path.c_str(), bytes.data(), static_cast<DWORD>(bytes.size()), Time(1), Time(2),
                                 Time(3), attributes);
    }
    struct Read {
        HRESULT hr;
        std::string bytes;
        DWORD attributes;
        FILETIME creation, lastAccess, lastWrite;
        bool terminated;
    };
    Read ReadBack(CQvDualFileSystem& from, const std::wstring& path) {
        Read r{};
        char* buffer = reinterpret_cast<char*>(1);
        DWORD size = 7;
        r.hr = from.ReadWholeFile(path.c_str(), &r.lastWrite, &buffer, &r.attributes, &size, &r.creation,
                                  &r.lastAccess);
        if (SUCCEEDED(r.hr)) {
            r.bytes.assign(buffer, size);
            r.terminated = buffer[size] == '\0';
            free(buffer);
        } else {
            EXPECT_EQ(buffer, nullptr);
            EXPECT_EQ(size, 0u);
        }
        return r;
    }

    static TempFolder* desktop;
    RapiSession session;
    CQvDualFileSystem fs;
    std::wstring base;
};
TempFolder* DualFileSystem::desktop = nullptr;

std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 31 + i / 251) & 0xFF);
    return bytes;
}

TEST_P(DualFileSystem, WholeFilesKeepTheirBytesTimesAndAttributes) {
    EXPECT_EQ(fs.IsDevice(), OnDevice() ? TRUE : FALSE);
    // Sizes around both write chunks (256 KB on the device, 2 MB here).
    for (size_t size : {0, 1, 0x3FFFF, 0x40000, 0x40001, 0x200001}) {
        const std::wstring path = At(L"f" + std::to_wstring(size) + L".bin");
        const std::string bytes = Pattern(size);
        ASSERT_EQ(Write(path, bytes), S_OK) << size;
        Read r = ReadBack(fs, path);
        ASSERT_EQ(r.hr, S_OK) << size;
        EXPECT_TRUE(r.bytes == bytes) << size;
        EXPECT_TRUE(r.terminated) << size;
        EXPECT_EQ(r.attributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE)) << size;
        EXPECT_EQ(Value(r.lastAccess), 2u) << size;
        EXPECT_EQ(Value(r.lastWrite), 3u) << size;
        FILETIME lastWrite = {};
        EXPECT_EQ(fs.GetLastWriteTime(path.c_str(), &lastWrite), S_OK);
        EXPECT_EQ(Value(lastWrite), 3u);
    }
    const std::wstring path = At(L"ro.txt");
    ASSERT_EQ(Write(path, "hidden", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), S_OK);
    // Files are archived when written, whatever was asked.
    EXPECT_EQ(ReadBack(fs, path).attributes & ~FILE_ATTRIBUTE_ARCHIVE,
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    FILETIME t;
    EXPECT_EQ(fs.GetLastWriteTime(At(L"none").c_str(), &t), E_FAIL);
}

TEST_P(DualFileSystem, ReadFailures) {
    EXPECT_EQ(ReadBack(fs, At(L"missing.txt")).hr, STG_E_FILENOTFOUND);
    EXPECT_EQ(ReadBack(fs, At(L"no folder\\missing.txt")).hr, STG_E_FILENOTFOUND);

    const std::wstring held = At(L"held.txt");
    ASSERT_EQ(Write(held, "busy"), S_OK);
    uint32_t hold = 0;
    HANDLE mine = INVALID_HANDLE_VALUE;
    if (OnDevice()) {
        hold = device->HoldFile(held, 0, GENERIC_WRITE);
        ASSERT_NE(hold, 0u);
    } else {
        mine = CreateFileW(held.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(mine, INVALID_HANDLE_VALUE);
    }
    EXPECT_EQ(ReadBack(fs, held).hr, STG_E_SHAREVIOLATION);
    if (OnDevice()) device->ReleaseFile(hold);
    else CloseHandle(mine);
    EXPECT_EQ(ReadBack(fs, held).bytes, "busy");
}

TEST_P(DualFileSystem, WritingOverAReadOnlyFileLeavesItAndSaysSo) {
    const std::wstring path = At(L"keep.txt");
    ASSERT_EQ(Write(path, "old", FILE_ATTRIBUTE_READONLY), S_OK);
    if (!OnDevice()) {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            GTEST_SKIP() << "this desktop lets its user write read-only files";
        }
    }
    EXPECT_EQ(Write(path, "new"), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadBack(fs, path).bytes, "old");
}

TEST_P(DualFileSystem, ReadsThatEndEarlyHandOutNothing) {
    const std::wstring path = At(L"whole.bin");
    ASSERT_EQ(Write(path, Pattern(1000)), S_OK);
    using Read = decltype(&CeReadFile);
    for (Read fake : {Read(Faults::ShortRead), Read(Faults::FailingRead)}) {
        CQvDualFileSystem faulty;
        Faulty(faulty, [fake](CQvCERapiWrapper& table) {
            Faults::realRead = table.ReadFile;
            table.ReadFile = fake;
        });
        EXPECT_TRUE(FAILED(ReadBack(faulty, path).hr));
    }
}

// An overwrite that fails at any step (a full disk, a dropped connection,
// times that cannot be set, a target held open) leaves the old bytes; a new
// file that fails is not there at all; nothing is left beside either.
TEST_P(DualFileSystem, AFailedWriteLeavesTheOldFile) {
    using WriteEntry = decltype(&CeWriteFile);
    using TimeEntry = decltype(&CeSetFileTime);
    struct Case {
        const char* note;
        std::function<void(CQvCERapiWrapper&)> fault;
    };
    const Case cases[] = {
        {"the second piece fails", [](CQvCERapiWrapper& t) { Faults::realWrite = t.WriteFile, t.WriteFile = WriteEntry(Faults::FailingWrite); }},
        {"every piece is short", [](CQvCERapiWrapper& t) { Faults::realWrite = t.WriteFile, t.WriteFile = WriteEntry(Faults::ShortWrite); }},
        {"the times cannot be set", [](CQvCERapiWrapper& t) { t.SetFileTime = TimeEntry(Faults::FailingSetTime); }},
    };
    const std::string bytes = Pattern(0x400001);  // more than one piece on either side
    for (const Case& c : cases) {
        for (bool hadOld : {true, false}) {
            const std::wstring path = At(L"partial.bin");
            if (hadOld) {
                ASSERT_EQ(Write(path, "old content"), S_OK);
            }
            CQvDualFileSystem faulty;
            Faulty(faulty, c.fault);
            EXPECT_EQ(faulty.WriteWholeFile(path.c_str(), bytes.data(), static_cast<DWORD>(bytes.size()), Time(1),
                                            Time(2), Time(3), FILE_ATTRIBUTE_READONLY),
                      E_FAIL) << c.note;
            if (hadOld) {
                Read old = ReadBack(fs, path);
                EXPECT_EQ(old.bytes, "old content") << c.note;
                EXPECT_EQ(Value(old.lastWrite), 3u) << c.note;
                EXPECT_EQ(fs.DeleteFile(path.c_str()), S_OK);
            }
            EXPECT_FALSE(Exists(path)) << c.note << (hadOld ? "" : ": a new file that failed");
            EXPECT_FALSE(Exists(path + L".vorlan-new")) << c.note;
            EXPECT_FALSE(Exists(path + L".vorlan-old")) << c.note;
        }
    }

    // Held open by another program, on its side.
    const std::wstring held = At(L"held.bin");
    ASSERT_EQ(Write(held, "old content"), S_OK);
    for (DWORD share : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        uint32_t hold = 0;
        HANDLE mine = INVALID_HANDLE_VALUE;
        if (OnDevice())
            ASSERT_NE(hold = device->HoldFile(held, share), 0u);
        else
            ASSERT_NE(mine = CreateFileW(held.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr),
                      INVALID_HANDLE_VALUE);
        EXPECT_TRUE(FAILED(Write(held, bytes))) << share;
        if (OnDevice()) device->ReleaseFile(hold);
        else CloseHandle(mine);
        EXPECT_EQ(ReadBack(fs, held).bytes, "old content") << share;
        EXPECT_FALSE(Exists(held + L".vorlan-new")) << share;
        EXPECT_FALSE(Exists(held + L".vorlan-old")) << share;
    }
    EXPECT_EQ(Write(held, "new content"), S_OK);
    EXPECT_EQ(ReadBack(fs, held).bytes, "new content");

    // What an interrupted write left beside the file does not block the next
    // (the desktop, which replaces in one move, never leaves an old copy).
    ASSERT_EQ(Write(held + L".vorlan-new", "stale", FILE_ATTRIBUTE_READONLY), S_OK);
    if (OnDevice()) {
        ASSERT_EQ(Write(held + L".vorlan-old", "stale", FILE_ATTRIBUTE_READONLY), S_OK);
    }
    EXPECT_EQ(Write(held, "newer content"), S_OK);
    EXPECT_EQ(ReadBack(fs, held).bytes, "newer content");
    EXPECT_FALSE(Exists(held + L".vorlan-new"));
    EXPECT_FALSE(Exists(held + L".vorlan-old"));
}

TEST_P(DualFileSystem, FoldersAndDeletion) {
    ASSERT_EQ(fs.CreateFolder(At(L"A").c_str()), S_OK);
    EXPECT_EQ(fs.CreateFolder(At(L"A").c_str()), S_OK) << "an existing folder is what was asked for";
    EXPECT_EQ(fs.CreateFolderPath(At(L"A\\B\\C").c_str()), S_OK);
    EXPECT_TRUE(Attributes(At(L"A\\B\\C")) & FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_EQ(Write(At(L"file"), "x"), S_OK);
    EXPECT_EQ(fs.CreateFolder(At(L"file").c_str()), E_FAIL) << "a file is no folder";
    EXPECT_EQ(fs.CreateFolderPath(At(L"file\\sub").c_str()), E_FAIL);
    EXPECT_EQ(fs.CreateFolderPath(L"\\"), E_INVALIDARG);

    EXPECT_EQ(fs.DeleteFile(At(L"file").c_str()), S_OK);
    EXPECT_FALSE(Exists(At(L"file")));
    EXPECT_EQ(fs.DeleteFile(At(L"file").c_str()), S_OK) << "already absent";
    EXPECT_EQ(fs.DeleteFile(At(L"no folder\\file").c_str()), S_OK) << "already absent";

    for (const wchar_t* name : {L"A\\a.txt", L"A\\B\\b.txt", L"A\\B\\C\\c1.txt", L"A\\B\\C\\c2.txt"})
        ASSERT_EQ(Write(At(name), name == std::wstring(L"A\\a.txt") ? "r" : "x", FILE_ATTRIBUTE_NORMAL), S_OK);
    EXPECT_EQ(fs.RemoveFolder(At(L"A").c_str()), S_OK);
    EXPECT_FALSE(Exists(At(L"A")));
    EXPECT_EQ(fs.RemoveFolder(At(L"A").c_str()), S_OK) << "already absent";
    EXPECT_TRUE(Exists(base));
}

TEST_P(DualFileSystem, TheSidesTableCopiesMovesAndStamps) {
    CQvCERapiWrapper side(OnDevice());
    const std::wstring original = At(L"o.txt"), copy = At(L"c.txt"), moved = At(L"m.txt");
    ASSERT_EQ(Write(original, "content"), S_OK);
    EXPECT_TRUE(side.CopyFile(original.c_str(), copy.c_str(), TRUE));
    BOOL again = side.CopyFile(original.c_str(), copy.c_str(), TRUE);
    DWORD error = side.GetLastError();
    EXPECT_FALSE(again) << "no overwriting when told not to";
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_TRUE(side.MoveFile(copy.c_str(), moved.c_str()));
    EXPECT_FALSE(Exists(copy));
    EXPECT_EQ(ReadBack(fs, moved).bytes, "content");

    EXPECT_TRUE(side.SetFileAttributes(moved.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(side.GetFileAttributes(moved.c_str()) & ~FILE_ATTRIBUTE_ARCHIVE, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    HANDLE file = side.CreateFile(moved.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const FILETIME stamp = Time(50);
    EXPECT_TRUE(side.SetFileTime(file, nullptr, nullptr, &stamp));
    EXPECT_EQ(side.GetFileSize(file, nullptr), 7u);
    EXPECT_TRUE(side.CloseHandle(file));
    FILETIME lastWrite = {};
    EXPECT_EQ(fs.GetLastWriteTime(moved.c_str(), &lastWrite), S_OK);
    EXPECT_EQ(Value(lastWrite), 50u);
    EXPECT_EQ(ReadBack(fs, original).bytes, "content") << "the original stays";
}

TEST_P(DualFileSystem, RootsAndEmptyPathsAreNeverRemoved) {
    for (const wchar_t* name : {L"keep.txt", L"sub\\keep.txt"}) {
        ASSERT_EQ(fs.CreateFolderPath(At(L"sub").c_str()), S_OK);
        ASSERT_EQ(Write(At(name), "x"), S_OK);
    }
    const std::wstring top = OnDevice() ? device->Root() : Wide(desktop->Path());
    std::vector<std::wstring> before;
    Walk(top, before);

    std::wstring up = base;
    for (int i = 0; i < 30; ++i) up += L"\\..";
    std::vector<std::wstring> roots = {L"", L"\\", L"\\\\", L"/", L"C:\\", L"C:", up};
    if (OnDevice()) roots.push_back(L"\\Windows\\..");
    for (const std::wstring& root : roots) {
        EXPECT_EQ(fs.DeleteFile(root.c_str()), E_INVALIDARG) << Ansi(root);
        EXPECT_EQ(fs.RemoveFolder(root.c_str()), E_INVALIDARG) << Ansi(root);
        EXPECT_EQ(fs.DeleteLocal(root.c_str()), E_INVALIDARG) << Ansi(root);
    }
    EXPECT_EQ(fs.DeleteFile(nullptr), E_POINTER);
    EXPECT_EQ(fs.RemoveFolder(nullptr), E_POINTER);
    std::vector<std::wstring> after;
    Walk(top, after);
    EXPECT_EQ(after, before);
}

TEST_P(DualFileSystem, ListingsGiveAnsiRecords) {
    ASSERT_EQ(Write(At(L"Stra\u00DFe.txt"), "12345", FILE_ATTRIBUTE_HIDDEN), S_OK);
    ASSERT_EQ(fs.CreateFolder(At(L"dir").c_str()), S_OK);
    WIN32_FIND_DATAA d;
    std::memset(&d, 0x55, sizeof d);
    HANDLE find = fs.FindFirstFile((Ansi(base) + "\\*").c_str(), &d);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    std::vector<std::string> names;
    do {
        std::string name = d.cFileName;
        if (name == "." || name == "..") continue;
        names.push_back(name);
        if (name == "dir") {
            EXPECT_TRUE(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
            continue;
        }
        EXPECT_EQ(name, "Stra\xC3\x9F" "e.txt");
        EXPECT_EQ(d.dwFileAttributes & ~FILE_ATTRIBUTE_ARCHIVE, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
        EXPECT_EQ(d.nFileSizeLow, 5u);
        EXPECT_EQ(d.nFileSizeHigh, 0u);
        EXPECT_EQ(Value(d.ftLastAccessTime), 2u);
        EXPECT_EQ(Value(d.ftLastWriteTime), 3u);
        if (OnDevice()) {
            EXPECT_EQ(d.dwReserved0, 0u);
            EXPECT_EQ(d.dwReserved1, 0u);
        }
    } while (fs.FindNextFile(find, &d));
    EXPECT_EQ(fs.GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(fs.FindClose(find));
    EXPECT_EQ(names.size(), 2u);

    EXPECT_EQ(fs.FindFirstFile(nullptr, &d), nullptr);
    EXPECT_EQ(fs.FindFirstFile("x", nullptr), nullptr);
    EXPECT_FALSE(fs.FindNextFile(nullptr, &d));
    EXPECT_FALSE(fs.FindClose(nullptr));
}

TEST_P(DualFileSystem, PathsResolvePerSide) {
    SetEnvironmentVariableA("VORLAN_FS_DIR", "C:\\data");
    SetEnvironmentVariableA("VORLAN_FS_EMPTY", "");
    struct Case {
        const char* note;
        const char* parent;
        std::string path;
        BOOL flag;
        bool device;
        HRESULT hr;
        const char* want;
    } const cases[] = {
        {"symbolic folder", "", "%ce_windir%\\x.exe", 1, true, S_OK, "\\Windows\\x.exe"},
        {"device path as it is", "file:///C:/p/t.xml", "\\Temp\\a", 0, true, S_OK, "\\Temp\\a"},
        {"folder the device lacks", "", "%CE_NETWORK%\\x", 1, true, E_FAIL, ""},
        {"combined with a file parent", "file:///C:/p/t.xml", "sub\\f.txt", 0, false, S_OK,
         "file:///C:/p/sub/f.txt"},
        {"flag 1 and a file parent", "file:///C:/p/t.xml", "sub/f.txt", 1, false, S_OK, "file:///C:/p/sub/f.txt"},
        {"flag 1 and a web parent", "http://host/p/t.xml", "sub\\f.txt", 1, false, S_OK, "sub\\f.txt"},
        {"variables first", "file:///C:/p/t.xml", "%VORLAN_FS_DIR%\\x", 0, false, S_OK, "C:\\data\\x"},
        {"a text that expands to nothing", "", "%VORLAN_FS_EMPTY%", 0, false, E_FAIL, ""},
        {"empty path", "file:///C:/p/t.xml", "", 0, false, E_INVALIDARG, ""},
        {"too long to combine", "file:///C:/p/t.xml", std::string(1100, 'a'), 0, false, E_FAIL, ""},
    };
    for (const Case& c : cases) {
        if (c.device != OnDevice()) continue;
        char out[260];
        std::memset(out, 'x', sizeof out);
        EXPECT_EQ(fs.ResolvePath(c.parent, c.path.c_str(), out, sizeof out, c.flag), c.hr) << c.note;
        EXPECT_STREQ(out, c.want) << c.note;
    }
    char small[8];
    EXPECT_EQ(fs.ResolvePath("", OnDevice() ? "%CE_WINDIR%\\abc" : "%VORLAN_FS_DIR%\\abc", small, sizeof small, 1),
              E_FAIL) << "does not fit";
    EXPECT_STREQ(small, "");
}

TEST_P(DualFileSystem, DllsAreRegisteredWhereTheyAre) {
    const std::wstring dll = At(L"reg.dll");
    std::function<bool()> registered;
    if (OnDevice()) {
        ASSERT_TRUE(device->InstallOstrum());
        ASSERT_TRUE(device->Install(testing::BuildPath(VORLAN_DEVICE_DLL), dll));
        registered = [] {
            DWORD value, type, size = sizeof value;
            return QueryValueByPath(CQvCERapiWrapper(TRUE), "HKEY_LOCAL_MACHINE\\SOFTWARE\\RegTest\\Registered",
                                    reinterpret_cast<BYTE*>(&value), &type, &size) == ERROR_SUCCESS;
        };
        EXPECT_EQ(fs.RegisterDll(dll.c_str(), TRUE), S_OK);
    } else {
        ASSERT_TRUE(CopyFileW(testing::BuildPath(VORLAN_DESKTOP_DLL).c_str(), dll.c_str(), FALSE));
        registered = [] {
            char state[16] = {};
            GetEnvironmentVariableA("VORLAN_FS_TEST_DLL", state, sizeof state);
            return std::string(state) == "registered";
        };
        EXPECT_EQ(fs.RegisterDll(dll.c_str(), TRUE), S_OK);
        ASSERT_EQ(Write(At(L"plain.txt"), "not a library"), S_OK);
        EXPECT_EQ(fs.RegisterDll(At(L"plain.txt").c_str(), TRUE), S_FALSE);
        EXPECT_EQ(fs.RegisterDll(At(L"missing.dll").c_str(), TRUE), S_FALSE);
    }
    EXPECT_TRUE(registered());
    // Deleting unregisters first, while the library is still there to load.
    EXPECT_EQ(fs.DeleteFile(dll.c_str()), S_OK);
    EXPECT_FALSE(registered());
    EXPECT_FALSE(Exists(dll));
}

INSTANTIATE_TEST_SUITE_P(BothSides, DualFileSystem, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Device" : "Desktop"; });

// The device side alone.
using DeviceFileSystem = DualFileSystem;

TEST_P(DeviceFileSystem, AFolderThatCannotBeReadIsNotRemoved) {
    ASSERT_EQ(fs.CreateFolderPath(At(L"locked\\inner").c_str()), S_OK);
    ASSERT_EQ(Write(At(L"locked\\f.txt"), "x"), S_OK);
    ASSERT_TRUE(device->SetUnreadable(At(L"locked"), true));
    EXPECT_EQ(fs.RemoveFolder(At(L"locked").c_str()), E_FAIL);
    ASSERT_TRUE(device->SetUnreadable(At(L"locked"), false));
    EXPECT_TRUE(Exists(At(L"locked\\f.txt")));
    EXPECT_TRUE(Exists(At(L"locked\\inner")));
}

// The device moves its old file aside before the new one takes its place;
// when that second move fails, the old file is put back.
TEST_P(DeviceFileSystem, AReplacementThatCannotBeMovedInPutsTheOldFileBack) {
    const std::wstring path = At(L"moved.txt");
    ASSERT_EQ(Write(path, "old content"), S_OK);
    CQvDualFileSystem faulty;
    Faulty(faulty, [](CQvCERapiWrapper& table) {
        Faults::realMove = table.MoveFile;
        table.MoveFile = Faults::FailingMove;
    });
    const std::string bytes = "new content";
    EXPECT_TRUE(FAILED(faulty.WriteWholeFile(path.c_str(), bytes.data(), static_cast<DWORD>(bytes.size()), Time(1),
                                             Time(2), Time(3), FILE_ATTRIBUTE_ARCHIVE)));
    EXPECT_EQ(ReadBack(fs, path).bytes, "old content");
    EXPECT_FALSE(Exists(path + L".vorlan-new"));
    EXPECT_FALSE(Exists(path + L".vorlan-old"));
}

TEST_P(DeviceFileSystem, FilesCrossTheConnection) {
    // As the core copies: read on one side, write on the other, and back.
    const std::wstring local = Wide(desktop->Path()) + L"\\cross.bin";
    const std::wstring back = Wide(desktop->Path()) + L"\\back.bin";
    const std::string bytes = Pattern(300000);
    CQvDualFileSystem desktopFs;
    desktopFs.SetDevice(FALSE);
    ASSERT_EQ(desktopFs.WriteWholeFile(local.c_str(), bytes.data(), static_cast<DWORD>(bytes.size()), Time(10),
                                       Time(20), Time(30), FILE_ATTRIBUTE_ARCHIVE),
              S_OK);
    Read fromDesktop = ReadBack(desktopFs, local);
    ASSERT_EQ(fromDesktop.hr, S_OK);
    const std::wstring remote = At(L"cross.bin");
    ASSERT_EQ(fs.WriteWholeFile(remote.c_str(), fromDesktop.bytes.data(), static_cast<DWORD>(bytes.size()),
                                fromDesktop.creation, fromDesktop.lastAccess, fromDesktop.lastWrite,
                                fromDesktop.attributes),
              S_OK);
    Read fromDevice = ReadBack(fs, remote);
    ASSERT_EQ(fromDevice.hr, S_OK);
    ASSERT_EQ(desktopFs.WriteWholeFile(back.c_str(), fromDevice.bytes.data(), static_cast<DWORD>(bytes.size()),
                                       fromDevice.creation, fromDevice.lastAccess, fromDevice.lastWrite,
                                       fromDevice.attributes),
              S_OK);
    Read result = ReadBack(desktopFs, back);
    EXPECT_TRUE(result.bytes == bytes);
    EXPECT_EQ(Value(result.lastWrite), 30u);
    EXPECT_EQ(result.attributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
}

// The desktop side alone.
using DesktopFileSystem = DualFileSystem;

TEST_P(DesktopFileSystem, APathTooLongIsRefusedNotCut) {
    // Cut to the recycle bin's MAX_PATH - 1 characters, the long path would
    // name this file.
    std::wstring prefix = At(L"");
    ASSERT_LT(prefix.size(), static_cast<size_t>(MAX_PATH) - 2);
    prefix += std::wstring(MAX_PATH - 1 - prefix.size(), L'v');
    ASSERT_EQ(Write(prefix, "kept"), S_OK);
    const std::wstring tooLong = prefix + L"\\x.txt";
    const HRESULT refused = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    EXPECT_EQ(fs.DeleteFile(tooLong.c_str()), refused);
    EXPECT_EQ(fs.RemoveFolder(tooLong.c_str()), refused);
    EXPECT_EQ(fs.DeleteLocal(tooLong.c_str()), refused);
    EXPECT_EQ(ReadBack(fs, prefix).bytes, "kept");
}

// A path without a folder names a file in the current folder, never a DLL of
// that name found along the search path (the program's own folder first).
TEST_P(DesktopFileSystem, ABareDllNameLoadsOnlyTheFileItNames) {
    wchar_t program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    std::wstring programFolder = program;
    programFolder.resize(programFolder.rfind(L'\\'));
    const std::wstring name = Wide(testing::UniqueName("vfsreg")) + L".dll";
    const std::wstring besideProgram = programFolder + L"\\" + name;
    ASSERT_TRUE(CopyFileW(testing::BuildPath(VORLAN_DESKTOP_DLL).c_str(), besideProgram.c_str(), FALSE));
    wchar_t before[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryW(MAX_PATH, before), 0u);
    ASSERT_TRUE(SetCurrentDirectoryW(base.c_str()));
    auto state = [] {
        char text[16] = {};
        GetEnvironmentVariableA("VORLAN_FS_TEST_DLL", text, sizeof text);
        return std::string(text);
    };
    SetEnvironmentVariableA("VORLAN_FS_TEST_DLL", "untouched");

    EXPECT_EQ(fs.RegisterDll(name.c_str(), TRUE), S_FALSE) << "not in the current folder";
    EXPECT_EQ(state(), "untouched");
    EXPECT_EQ(fs.DeleteFile(name.c_str()), S_OK) << "nothing there to delete";
    EXPECT_EQ(state(), "untouched") << "the DLL beside the program was not unregistered";
    EXPECT_NE(GetFileAttributesW(besideProgram.c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(CopyFileW(testing::BuildPath(VORLAN_DESKTOP_DLL).c_str(), At(name).c_str(), FALSE));
    EXPECT_EQ(fs.RegisterDll(name.c_str(), TRUE), S_OK) << "the file in the current folder";
    EXPECT_EQ(state(), "registered");
    EXPECT_EQ(fs.DeleteFile(name.c_str()), S_OK);
    EXPECT_EQ(state(), "unregistered");
    EXPECT_FALSE(Exists(At(name)));

    SetCurrentDirectoryW(before);
    DeleteFileW(besideProgram.c_str());
}

INSTANTIATE_TEST_SUITE_P(DesktopOnly, DesktopFileSystem, ::testing::Values(false),
                         [](const auto&) { return "Desktop"; });

TEST(FindRecordTest, NamesAreExactOrRefused) {
    CE_FIND_DATA in = {};
    in.dwFileAttributes = FILE_ATTRIBUTE_HIDDEN;
    in.ftCreationTime = {1, 2};
    in.ftLastAccessTime = {3, 4};
    in.ftLastWriteTime = {5, 6};
    in.nFileSizeHigh = 7;
    in.nFileSizeLow = 8;
    in.dwOID = 99;
    std::wcscpy(in.cFileName, L"Stra\u00DFe \u6587.txt");
    WIN32_FIND_DATAA out;
    std::memset(&out, 0x55, sizeof out);
    DWORD error = 0;
    ASSERT_TRUE(AnsiFindRecord(in, out, &error));
    EXPECT_STREQ(out.cFileName, "Stra\xC3\x9F" "e \xE6\x96\x87.txt");
    EXPECT_EQ(out.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(out.ftCreationTime.dwHighDateTime, 2u);
    EXPECT_EQ(out.ftLastAccessTime.dwLowDateTime, 3u);
    EXPECT_EQ(out.ftLastWriteTime.dwHighDateTime, 6u);
    EXPECT_EQ(out.nFileSizeHigh, 7u);
    EXPECT_EQ(out.nFileSizeLow, 8u);
    EXPECT_EQ(out.dwReserved0, 0u);
    EXPECT_EQ(out.dwReserved1, 0u);
    EXPECT_STREQ(out.cAlternateFileName, "");

    struct Case {
        const char* note;
        std::wstring name;
        bool ok;
        DWORD error;
    } const cases[] = {
        {"259 bytes fit", std::wstring(259, L'a'), true, 0},
        {"87 three-byte characters do not", std::wstring(87, L'\u6587'), false, ERROR_FILENAME_EXCED_RANGE},
        {"unterminated", std::wstring(MAX_PATH, L'b'), false, ERROR_FILENAME_EXCED_RANGE},
        {"half a surrogate pair", std::wstring{L'a', wchar_t(0xD800), L'b'}, false, ERROR_NO_UNICODE_TRANSLATION},
    };
    for (const Case& c : cases) {
        std::wmemcpy(in.cFileName, c.name.c_str(), std::min<size_t>(c.name.size() + 1, MAX_PATH));
        error = 0;
        EXPECT_EQ(AnsiFindRecord(in, out, &error), c.ok) << c.note;
        EXPECT_EQ(error, c.error) << c.note;
    }
}

INSTANTIATE_TEST_SUITE_P(DeviceOnly, DeviceFileSystem, ::testing::Values(true),
                         [](const auto&) { return "Device"; });

}  // namespace
}  // namespace vorlan
