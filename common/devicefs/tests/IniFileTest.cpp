#include <gtest/gtest.h>

#include "Bstr.h"
#include "Ini.h"
#include "TestSupport.h"
#include "WholeFile.h"

namespace vorlan::devicefs {
namespace {

using vorlan::testing::ReadFileBytes;
using vorlan::testing::TempFolder;
using vorlan::testing::WriteFileBytes;

std::wstring Wide(const std::string& path) { return com::WideFromAnsi(path); }

std::string Utf16(const char* ascii) {
    std::string bytes;
    for (; *ascii; ++ascii) bytes += {*ascii, '\0'};
    return bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(IniFileTest, ReadChangeAndWriteBack) {
    TempFolder folder;
    const std::string path = folder / "records.dat";
    WriteFileBytes(path, Utf16("[\\My Documents\\Report [v2].doc]\r\nCRC=5\r\n\r\n[\\Sync\\a.txt]\r\nCRC=7\r\n"));

    CIni ini;
    ASSERT_EQ(ini.Load(Wide(path).c_str()), S_OK);
    std::wstring value;
    EXPECT_EQ(ini.GetValue(L"\\My Documents\\Report [v2].doc", L"CRC", L"-1", value), S_OK);
    EXPECT_EQ(value, L"5");
    EXPECT_EQ(ini.SetValue(L"\\Sync\\a.txt", L"CRC", L"4294967295"), S_OK);
    EXPECT_EQ(ini.SetValue(L"\\Sync\\b.txt", L"Conflitant", L"NO_CONFLICT"), S_OK);
    EXPECT_EQ(ini.Remove(L"\\My Documents\\Report [v2].doc", nullptr), S_OK);
    ASSERT_EQ(ini.Save(), S_OK) << "to the path it was loaded from";

    EXPECT_EQ(ReadFileBytes(path), Utf16("[\\Sync\\a.txt]\r\nCRC=4294967295\r\n\r\n"
                                         "[\\Sync\\b.txt]\r\nConflitant=NO_CONFLICT\r\n\r\n"))
        << "UTF-16LE, no byte-order mark, no terminator";
    EXPECT_FALSE(Exists(path + ".tmp"));
    EXPECT_FALSE(Exists(path + ".bak"));

    CIni again;
    ASSERT_EQ(again.Load(Wide(path).c_str()), S_OK);
    EXPECT_EQ(again.GetValue(L"\\Sync\\a.txt", L"CRC", L"-1", value), S_OK);
    EXPECT_EQ(value, L"4294967295");
    EXPECT_EQ(again.Set().size(), 2u);
}

TEST(IniFileTest, ValuesAndRemoval) {
    CIni ini;
    ini.SetValue(L"A", L"k", L"v");
    std::wstring value;
    struct Get {
        const wchar_t* section;
        const wchar_t* key;
        HRESULT hr;
        const wchar_t* value;
    };
    const Get gets[] = {
        {L"A", L"k", S_OK, L"v"},
        {L"A", L"missing", S_OK, L"default"},
        {L"missing", L"k", E_FAIL, L"default"},
        {L"a", L"k", E_FAIL, L"default"},
    };
    for (const Get& g : gets) {
        EXPECT_EQ(ini.GetValue(g.section, g.key, L"default", value), g.hr) << g.section << L"/" << g.key;
        EXPECT_EQ(value, g.value) << g.section << L"/" << g.key;
    }
    EXPECT_EQ(ini.GetValue(nullptr, L"k", L"d", value), E_INVALIDARG);
    EXPECT_EQ(ini.GetValue(L"A", nullptr, L"d", value), E_INVALIDARG);
    EXPECT_EQ(ini.GetValue(L"A", L"k", nullptr, value), E_INVALIDARG);
    EXPECT_EQ(ini.SetValue(L"A", L"k", nullptr), E_INVALIDARG);

    EXPECT_EQ(ini.Remove(L"A", L"missing"), S_OK);
    EXPECT_EQ(ini.Remove(L"A", L"k"), S_OK);
    EXPECT_EQ(ini.GetValue(L"A", L"k", L"d", value), S_OK) << "the section stays";
    EXPECT_EQ(ini.Remove(L"A", nullptr), S_OK);
    EXPECT_EQ(ini.Remove(L"A", nullptr), E_FAIL);
    EXPECT_EQ(ini.Remove(nullptr, L"k"), E_INVALIDARG);
    EXPECT_EQ(ini.Save(), E_INVALIDARG) << "no path to save to";
}

TEST(IniFileTest, DamagedAndMissingFiles) {
    TempFolder folder;
    const std::string good = Utf16("[A]\r\nk=v\r\n[B]\r\nx=1\r\n");
    struct Case {
        const char* note;
        std::string bytes;
        HRESULT hr;
        size_t sections;
    };
    const Case cases[] = {
        {"whole", good, S_OK, 2},
        {"cut in the last key line", good.substr(0, good.size() - 8), E_FAIL, 2},
        {"cut in half a character", good.substr(0, good.size() - 1), E_FAIL, 2},
        {"zeros written over the end", good.substr(0, 20) + std::string(good.size() - 20, '\0'),
         HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT), 0},
        {"a zero character in the middle", good.substr(0, 12) + std::string(2, '\0') + good.substr(14),
         HRESULT_FROM_WIN32(ERROR_FILE_CORRUPT), 0},
        {"empty", "", E_FAIL, 0},
    };
    for (const Case& c : cases) {
        WriteFileBytes(folder / "f.dat", c.bytes);
        CIni ini;
        EXPECT_EQ(ini.Load(Wide(folder / "f.dat").c_str()), c.hr) << c.note;
        EXPECT_EQ(ini.Set().size(), c.sections) << c.note;
    }

    CIni ini;
    ini.SetValue(L"stale", L"k", L"v");
    EXPECT_EQ(ini.Load(Wide(folder / "missing.dat").c_str()), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(ini.Set().empty());
    EXPECT_EQ(ini.Load(Wide(folder / "no\\f.dat").c_str()), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));

    WriteFileBytes(folder / "held.dat", good);
    HANDLE held = CreateFileA((folder / "held.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(ini.Load(Wide(folder / "held.dat").c_str()), HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION))
        << "a file that exists but cannot be read is not an empty one";
    CloseHandle(held);
}

// Every way a save can fail leaves the old records as they were.
TEST(IniFileTest, FailedSaveKeepsOldRecords) {
    TempFolder folder;
    const std::string path = folder / "records.dat";
    const std::string old = Utf16("[A]\r\nk=old\r\n\r\n");
    CIni ini;
    ini.SetValue(L"A", L"k", L"new");

    WriteFileBytes(path, old);
    CreateDirectoryA((path + ".tmp").c_str(), nullptr);
    EXPECT_EQ(ini.Save(Wide(path).c_str()), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED))
        << "the temporary file cannot be created";
    EXPECT_EQ(ReadFileBytes(path), old);
    RemoveDirectoryA((path + ".tmp").c_str());

    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FAILED(ini.Save(Wide(path).c_str()))) << "the old file is in use and cannot be moved aside";
    CloseHandle(held);
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_FALSE(Exists(path + ".tmp"));

    EXPECT_EQ(ini.Save(Wide(folder / "no\\records.dat").c_str()), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));

    WriteFileBytes(path + ".bak", "left by an interrupted save");
    EXPECT_EQ(ini.Save(Wide(path).c_str()), S_OK);
    EXPECT_EQ(ReadFileBytes(path), Utf16("[A]\r\nk=new\r\n\r\n"));
    EXPECT_FALSE(Exists(path + ".bak"));
}

// A save cut off after the old file was moved aside leaves it only in the
// backup: the next load and the next save both start from it.
TEST(IniFileTest, ASaveCutOffHalfWayLosesNoRecords) {
    TempFolder folder;
    const std::string path = folder / "records.dat";
    const std::string old = Utf16("[A]\r\nk=old\r\n\r\n[B]\r\nk=kept\r\n\r\n");

    WriteFileBytes(path + ".bak", old);
    WriteFileBytes(path + ".tmp", Utf16("[A]\r\nk=half"));
    CIni ini;
    ASSERT_EQ(ini.Load(Wide(path).c_str()), S_OK);
    std::wstring value;
    EXPECT_EQ(ini.GetValue(L"B", L"k", L"", value), S_OK);
    EXPECT_EQ(value, L"kept");
    EXPECT_EQ(ReadFileBytes(path), old);

    // A save that fails finds the records in place, not only in a backup.
    MoveFileA(path.c_str(), (path + ".bak").c_str());
    DeleteFileA((path + ".tmp").c_str());
    CreateDirectoryA((path + ".tmp").c_str(), nullptr);
    EXPECT_TRUE(FAILED(ini.Save(Wide(path).c_str())));
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_FALSE(Exists(path + ".bak"));
}

TEST(IniFileTest, SavingNoSectionsWritesAnEmptyFile) {
    TempFolder folder;
    CIni ini;
    ASSERT_EQ(ini.Save(Wide(folder / "e.dat").c_str()), S_OK);
    EXPECT_EQ(ReadFileBytes(folder / "e.dat"), "");
}

}  // namespace
}  // namespace vorlan::devicefs
