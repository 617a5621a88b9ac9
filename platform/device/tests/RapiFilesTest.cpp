// The remote API's file and folder functions against an emulated device,
// with the error codes callers rely on.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CeRapi.h"
#include "SharedDeviceSuite.h"

using vorlan::testing::RapiSession;
using vorlan::testing::SharedDeviceSuite;

namespace {

class RapiFiles : public SharedDeviceSuite<RapiFiles> {
protected:
    void SetUp() override { ASSERT_TRUE(session.Connected()); }

    static bool Put(const std::wstring& path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        HANDLE h = CeCreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        BOOL ok = CeWriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        return CeCloseHandle(h) && ok && written == bytes.size();
    }
    static std::string Get(const std::wstring& path) {
        HANDLE h = CeCreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return "<error " + std::to_string(CeGetLastError()) + ">";
        std::string bytes(CeGetFileSize(h, nullptr), '\0');
        DWORD got = 0;
        CeReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CeCloseHandle(h);
        bytes.resize(got);
        return bytes;
    }
    // The names a search lists, or the error it ends with.
    static std::set<std::wstring> List(const std::wstring& pattern, DWORD* error = nullptr) {
        std::set<std::wstring> names;
        CE_FIND_DATA d;
        HANDLE h = CeFindFirstFile(pattern.c_str(), &d);
        if (h == INVALID_HANDLE_VALUE) {
            if (error) *error = CeGetLastError();
            return names;
        }
        do names.insert(d.cFileName);
        while (CeFindNextFile(h, &d));
        if (error) *error = CeGetLastError();
        CeFindClose(h);
        return names;
    }

    RapiSession session;
};

}  // namespace

TEST_F(RapiFiles, WriteReadAcrossFramesAndTheHostSeesTheFile) {
    std::string big(3 * 1024 * 1024 + 17, '\0');  // more than one frame's worth
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(Put(L"\\My Documents\\big.bin", big));
    EXPECT_EQ(Get(L"\\My Documents\\big.bin"), big);
    WIN32_FILE_ATTRIBUTE_DATA host;
    ASSERT_TRUE(GetFileAttributesExW(device->HostPath(L"\\My Documents\\big.bin").c_str(), GetFileExInfoStandard, &host));
    EXPECT_EQ(host.nFileSizeLow, big.size());
    EXPECT_EQ(CeGetFileAttributes(L"\\"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(RapiFiles, PositionsSizesAndTruncation) {
    ASSERT_TRUE(Put(L"\\Temp\\p.bin", "0123456789"));
    HANDLE h = CeCreateFile(L"\\Temp\\p.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeSetFilePointer(h, 4, nullptr, FILE_BEGIN), 4u);
    ASSERT_TRUE(CeSetEndOfFile(h));
    DWORD high = 7;
    EXPECT_EQ(CeGetFileSize(h, &high), 4u);
    EXPECT_EQ(high, 0u);
    char buffer[8] = {};
    DWORD got = 9;
    EXPECT_TRUE(CeReadFile(h, buffer, sizeof buffer, &got, nullptr));  // at the end: nothing, and success
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(CeSetFilePointer(h, -2, nullptr, FILE_END), 2u);
    EXPECT_TRUE(CeReadFile(h, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(std::string(buffer, got), "23");
    EXPECT_TRUE(CeCloseHandle(h));
    EXPECT_FALSE(CeCloseHandle(h));
    EXPECT_EQ(CeGetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(RapiFiles, AFailedWriteOfManyPiecesSaysSoAndTheConnectionStaysInStep) {
    ASSERT_TRUE(Put(L"\\Temp\\w.bin", "old"));
    HANDLE h = CeCreateFile(L"\\Temp\\w.bin", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::string data(5 * 1024 * 1024, 'z');  // several pieces in flight at once
    DWORD written = 99;
    EXPECT_FALSE(CeWriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(CeGetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(CeCloseHandle(h));
    EXPECT_EQ(Get(L"\\Temp\\w.bin"), "old");
    EXPECT_EQ(CeGetFileAttributes(L"\\Temp"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST_F(RapiFiles, ErrorCodesOfFilesAndFolders) {
    ASSERT_TRUE(CeCreateDirectory(L"\\Err", nullptr));
    ASSERT_TRUE(Put(L"\\Err\\f.txt", "x"));
    ASSERT_TRUE(Put(L"\\Err\\g.txt", "y"));
    struct Case {
        const char* what;
        BOOL ok;
        DWORD error;
    };
    auto run = [](BOOL ok) { return Case{"", ok, ok ? 0 : CeGetLastError()}; };
    const std::vector<std::pair<Case, Case>> cases = {
        {{"create existing folder", FALSE, 183}, run(CeCreateDirectory(L"\\Err", nullptr))},
        {{"create below a missing folder", FALSE, 3}, run(CeCreateDirectory(L"\\Nope\\x", nullptr))},
        {{"remove a folder that holds a file", FALSE, 145}, run(CeRemoveDirectory(L"\\Err"))},
        {{"remove a missing folder", FALSE, 2}, run(CeRemoveDirectory(L"\\Err\\none"))},
        {{"delete a missing file", FALSE, 2}, run(CeDeleteFile(L"\\Err\\none.txt"))},
        {{"delete in a missing folder", FALSE, 3}, run(CeDeleteFile(L"\\Nope\\none.txt"))},
        {{"delete a folder as a file", FALSE, 5}, run(CeDeleteFile(L"\\Err"))},
        {{"attributes of a missing file", FALSE, 2}, run(CeGetFileAttributes(L"\\Err\\none") != INVALID_FILE_ATTRIBUTES)},
        {{"attributes in a missing folder", FALSE, 3}, run(CeGetFileAttributes(L"\\Nope\\none") != INVALID_FILE_ATTRIBUTES)},
        {{"move onto an existing file", FALSE, 183}, run(CeMoveFile(L"\\Err\\f.txt", L"\\Err\\g.txt"))},
        {{"copy without overwriting", FALSE, 80}, run(CeCopyFile(L"\\Err\\f.txt", L"\\Err\\g.txt", TRUE))},
    };
    for (const auto& [expected, actual] : cases) {
        EXPECT_EQ(actual.ok, expected.ok) << expected.what;
        EXPECT_EQ(actual.error, expected.error) << expected.what;
    }
    HANDLE h = CeCreateFile(L"\\Err\\none.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), 2u);
    h = CeCreateFile(L"\\Err\\f.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), 183u);  // CREATE_ALWAYS over a file tells it was there
    CeCloseHandle(h);
}

TEST_F(RapiFiles, CopiesCarryContentAndAttributesAndFailedOnesLeaveNothing) {
    ASSERT_TRUE(Put(L"\\Temp\\c.txt", "copy me", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CeSetFileAttributes(L"\\Temp\\c.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CeCopyFile(L"\\Temp\\c.txt", L"\\Temp\\c2.txt", TRUE));
    EXPECT_EQ(Get(L"\\Temp\\c2.txt"), "copy me");
    EXPECT_EQ(CeGetFileAttributes(L"\\Temp\\c2.txt") & ~FILE_ATTRIBUTE_ARCHIVE,
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(Put(L"\\Temp\\c3.txt", "older"));
    EXPECT_TRUE(CeCopyFile(L"\\Temp\\c.txt", L"\\Temp\\c3.txt", FALSE));
    EXPECT_EQ(Get(L"\\Temp\\c3.txt"), "copy me");
    EXPECT_EQ(CeGetFileAttributes(L"\\Temp\\c3.txt") & ~FILE_ATTRIBUTE_ARCHIVE,
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));

    EXPECT_FALSE(CeCopyFile(L"\\Temp\\none.txt", L"\\Temp\\c4.txt", FALSE));
    EXPECT_EQ(CeGetLastError(), 2u);
    EXPECT_FALSE(CeCopyFile(L"\\Temp", L"\\Temp\\c4.txt", FALSE));
    EXPECT_EQ(CeGetFileAttributes(L"\\Temp\\c4.txt"), INVALID_FILE_ATTRIBUTES) << "a failed copy left its target";
    for (const wchar_t* name : {L"\\Temp\\c.txt", L"\\Temp\\c2.txt", L"\\Temp\\c3.txt"}) {
        ASSERT_TRUE(CeSetFileAttributes(name, FILE_ATTRIBUTE_NORMAL));
        ASSERT_TRUE(CeDeleteFile(name));
    }
}

TEST_F(RapiFiles, ReadOnlyFilesRefuseWritersAndDeletion) {
    ASSERT_TRUE(Put(L"\\Temp\\ro.txt", "keep"));
    ASSERT_TRUE(CeSetFileAttributes(L"\\Temp\\ro.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(CeCreateFile(L"\\Temp\\ro.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), 5u);
    EXPECT_FALSE(Put(L"\\Temp\\ro.txt", "lost"));
    EXPECT_FALSE(CeDeleteFile(L"\\Temp\\ro.txt"));
    EXPECT_EQ(CeGetLastError(), 5u);
    EXPECT_EQ(Get(L"\\Temp\\ro.txt"), "keep");
    ASSERT_TRUE(CeSetFileAttributes(L"\\Temp\\ro.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(CeDeleteFile(L"\\Temp\\ro.txt"));
}

TEST_F(RapiFiles, SharingIsEnforcedAcrossHandlesAndWithTheDevice) {
    ASSERT_TRUE(Put(L"\\Temp\\shared.txt", "s"));
    HANDLE reader = CeCreateFile(L"\\Temp\\shared.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeCreateFile(L"\\Temp\\shared.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(CeGetLastError(), 32u);
    EXPECT_FALSE(CeDeleteFile(L"\\Temp\\shared.txt"));
    EXPECT_EQ(CeGetLastError(), 32u);
    CeCloseHandle(reader);

    // A device program holding the file open without sharing.
    uint32_t hold = device->HoldFile(L"\\Temp\\shared.txt", 0);
    ASSERT_NE(hold, 0u);
    EXPECT_EQ(Get(L"\\Temp\\shared.txt"), "<error 32>");
    EXPECT_TRUE(device->ReleaseFile(hold));
    EXPECT_EQ(Get(L"\\Temp\\shared.txt"), "s");
}

TEST_F(RapiFiles, AttributesAndTimesAreKept) {
    ASSERT_TRUE(Put(L"\\Temp\\t.txt", "t", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(CeGetFileAttributes(L"\\Temp\\t.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(CeSetFileAttributes(L"\\Temp\\t.txt", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    // The archive bit follows the host's rules.
    EXPECT_EQ(CeGetFileAttributes(L"\\Temp\\t.txt") & ~FILE_ATTRIBUTE_ARCHIVE,
              static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CeSetFileAttributes(L"\\Temp\\t.txt", FILE_ATTRIBUTE_NORMAL));

    const FILETIME written = {0x456789AB, 0x01D91234}, accessed = {0x11111110, 0x01D91235};
    HANDLE h = CeCreateFile(L"\\Temp\\t.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CeSetFileTime(h, nullptr, &accessed, &written));
    CeCloseHandle(h);
    h = CeCreateFile(L"\\Temp\\t.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME c, a, w;
    ASSERT_TRUE(CeGetFileTime(h, &c, &a, &w));
    CeCloseHandle(h);
    EXPECT_EQ(CompareFileTime(&w, &written), 0);
    EXPECT_EQ(CompareFileTime(&a, &accessed), 0);
}

TEST_F(RapiFiles, ListingsHaveNoDotsAndEndWithNoMoreFiles) {
    ASSERT_TRUE(CeCreateDirectory(L"\\List", nullptr));
    DWORD error = 0;
    EXPECT_TRUE(List(L"\\List\\*.*", &error).empty());
    EXPECT_EQ(error, 18u);  // an empty folder fails its first search
    List(L"\\NoSuchFolder\\*.*", &error);
    EXPECT_EQ(error, 3u);
    ASSERT_TRUE(Put(L"\\List\\a.txt", "a"));
    ASSERT_TRUE(Put(L"\\List\\noext", "b"));
    ASSERT_TRUE(CeCreateDirectory(L"\\List\\sub", nullptr));
    EXPECT_EQ(List(L"\\List\\*.*", &error), (std::set<std::wstring>{L"a.txt", L"noext", L"sub"}));
    EXPECT_EQ(error, 18u);
    EXPECT_EQ(List(L"\\List\\*.txt"), (std::set<std::wstring>{L"a.txt"}));
    List(L"\\List\\*.doc", &error);
    EXPECT_EQ(error, 18u);
    EXPECT_EQ(List(L"\\List\\a.txt"), (std::set<std::wstring>{L"a.txt"}));

    DWORD count = 7;
    LPCE_FIND_DATA all = nullptr;
    ASSERT_TRUE(CeFindAllFiles(L"\\List\\*", FAF_NAME | FAF_ATTRIBUTES | FAF_SIZE_LOW, &count, &all));
    ASSERT_EQ(count, 3u);
    std::set<std::wstring> names;
    for (DWORD i = 0; i < count; ++i) names.insert(all[i].cFileName);
    EXPECT_EQ(names, (std::set<std::wstring>{L"a.txt", L"noext", L"sub"}));
    CeRapiFreeBuffer(all);
    ASSERT_TRUE(CeFindAllFiles(L"\\List\\*", FAF_NAME | FAF_FOLDERS_ONLY, &count, &all));
    ASSERT_EQ(count, 1u);
    EXPECT_STREQ(all[0].cFileName, L"sub");
    EXPECT_EQ(all[0].dwFileAttributes, 0u);  // not asked for
    CeRapiFreeBuffer(all);
    ASSERT_TRUE(CeFindAllFiles(L"\\List\\sub\\*", FAF_NAME, &count, &all));
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(all, nullptr);
    EXPECT_FALSE(CeFindAllFiles(L"\\NoSuchFolder\\*", FAF_NAME, &count, &all));
}

TEST_F(RapiFiles, ObjectIdentifiersFollowFilesAndChangeWhenOneIsRecreated) {
    ASSERT_TRUE(CeCreateDirectory(L"\\Oid", nullptr));
    ASSERT_TRUE(Put(L"\\Oid\\f.txt", "12345"));
    CE_FIND_DATA d;
    HANDLE h = CeFindFirstFile(L"\\Oid\\f.txt", &d);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CeFindClose(h);
    CEOID oid = d.dwOID;
    EXPECT_NE(oid, 0u);
    CEOIDINFO info;
    ASSERT_TRUE(CeOidGetInfo(oid, &info));
    EXPECT_EQ(info.wObjType, OBJTYPE_FILE);
    EXPECT_STREQ(info.infFile.szFileName, L"\\Oid\\f.txt");
    EXPECT_EQ(info.infFile.dwLength, 5u);

    ASSERT_TRUE(CeMoveFile(L"\\Oid\\f.txt", L"\\Oid\\g.txt"));
    ASSERT_TRUE(CeOidGetInfo(oid, &info));
    EXPECT_STREQ(info.infFile.szFileName, L"\\Oid\\g.txt");

    ASSERT_TRUE(CeDeleteFile(L"\\Oid\\g.txt"));
    EXPECT_FALSE(CeOidGetInfo(oid, &info));
    ASSERT_TRUE(Put(L"\\Oid\\g.txt", "new"));
    h = CeFindFirstFile(L"\\Oid\\g.txt", &d);
    CeFindClose(h);
    EXPECT_NE(d.dwOID, oid);
}

TEST_F(RapiFiles, UnreadableFoldersAreRefused) {
    ASSERT_TRUE(CeCreateDirectory(L"\\Locked", nullptr));
    ASSERT_TRUE(Put(L"\\Locked\\f.txt", "x"));
    ASSERT_TRUE(device->SetUnreadable(L"\\Locked", true));
    DWORD error = 0;
    List(L"\\Locked\\*.*", &error);
    EXPECT_EQ(error, 5u);
    EXPECT_EQ(Get(L"\\Locked\\f.txt"), "<error 5>");
    ASSERT_TRUE(device->SetUnreadable(L"\\Locked", false));
    EXPECT_EQ(Get(L"\\Locked\\f.txt"), "x");
}

TEST_F(RapiFiles, ShortcutsAreTextFilesNamingTheirTarget) {
    ASSERT_TRUE(CeSHCreateShortcut(const_cast<LPWSTR>(L"\\Windows\\Start Menu\\Tool.lnk"),
                                   const_cast<LPWSTR>(L"\"\\Program Files\\Tool\\tool.exe\"")));
    EXPECT_EQ(Get(L"\\Windows\\Start Menu\\Tool.lnk"), "30#\"\\Program Files\\Tool\\tool.exe\"");
    EXPECT_FALSE(CeSHCreateShortcut(const_cast<LPWSTR>(L"\\Nope\\Tool.lnk"), const_cast<LPWSTR>(L"x")));
    EXPECT_EQ(CeGetLastError(), 3u);
    // Each creation is journaled with its outcome.
    const auto made = device->Journal("shortcut");
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0].Get("path"), "\\Windows\\Start Menu\\Tool.lnk");
    EXPECT_EQ(made[0].Get("target"), "\"\\Program Files\\Tool\\tool.exe\"");
    EXPECT_EQ(made[0].Get("error"), "0");
    EXPECT_EQ(made[1].Get("path"), "\\Nope\\Tool.lnk");
    EXPECT_EQ(made[1].Get("target"), "x");
    EXPECT_EQ(made[1].Get("error"), "3");
}
