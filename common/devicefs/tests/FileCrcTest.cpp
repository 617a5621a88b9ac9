#include <gtest/gtest.h>

#include <string>

#include "Bstr.h"
#include "Crc32.h"
#include "DeviceFileCrc.h"
#include "FolderCrc.h"
#include "QuickCrcRecord.h"
#include "TestSupport.h"

namespace vorlan::devicefs {
namespace {

using vorlan::testing::TempFolder;
using vorlan::testing::WriteFileBytes;

std::wstring Wide(const std::string& path) { return com::WideFromAnsi(path); }

DWORD FileCrc(const std::string& path, BOOL quick, HRESULT expected = S_OK) {
    DWORD crc = 0xDEADBEEF;
    EXPECT_EQ(DeviceCalcFileCrc32(Wide(path).c_str(), &crc, quick), expected) << path;
    return crc;
}

void SetLastWrite(const std::string& path, uint64_t time) {
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME t{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &t));
    CloseHandle(h);
}

TEST(DeviceFileCrcTest, ContentInBlocks) {
    TempFolder folder;
    std::string big(3 * 64 * 1024 + 13, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + (i >> 9));
    struct Case {
        const char* name;
        std::string content;
        DWORD crc;
    };
    const Case cases[] = {
        {"empty", "", 0},
        {"one", "a", 0xE8B7BE43},
        {"check", "123456789", 0xCBF43926},
        {"big", big, Crc32(big)},
    };
    for (const Case& c : cases) {
        WriteFileBytes(folder / c.name, c.content);
        EXPECT_EQ(FileCrc(folder / c.name, FALSE), c.crc) << c.name;
    }
    EXPECT_EQ(FileCrc(folder / "empty", TRUE), 0u) << "an empty file is 0 in quick mode too";
}

TEST(DeviceFileCrcTest, QuickModeKeepsSizeAndCoarseTime) {
    TempFolder folder;
    const std::string file = folder / "q.txt";
    WriteFileBytes(file, "abc");
    const uint64_t time = 0x01D9123450000000ull;
    SetLastWrite(file, time);
    EXPECT_EQ(FileCrc(file, TRUE), QuickCrc32(time, 3));

    WriteFileBytes(file, "xyz");
    SetLastWrite(file, time + 10'000'000);
    EXPECT_EQ(FileCrc(file, TRUE), QuickCrc32(time, 3)) << "same size, same time unit";
    SetLastWrite(file, time + (uint64_t{1} << 28));
    EXPECT_NE(FileCrc(file, TRUE), QuickCrc32(time, 3)) << "next time unit";
}

TEST(DeviceFileCrcTest, Failures) {
    TempFolder folder;
    WriteFileBytes(folder / "held", "abc");
    HANDLE held = CreateFileA((folder / "held").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FileCrc(folder / "held", FALSE, STG_E_SHAREVIOLATION), 0u) << "opened elsewhere without read sharing";
    CloseHandle(held);
    EXPECT_EQ(FileCrc(folder / "missing", FALSE, STG_E_FILENOTFOUND), 0u);
    EXPECT_EQ(FileCrc(folder / "no\\such\\folder", TRUE, STG_E_FILENOTFOUND), 0u);

    DWORD crc = 0;
    EXPECT_EQ(DeviceCalcFileCrc32(nullptr, &crc, FALSE), E_INVALIDARG);
    EXPECT_EQ(DeviceCalcFileCrc32(L"x", nullptr, FALSE), E_INVALIDARG);
    EXPECT_EQ(DeviceCalcFolderCrc32(nullptr, &crc, FALSE), E_INVALIDARG);
}

TEST(DeviceFolderCrcTest, TreeValue) {
    TempFolder folder;
    const std::string root = folder / "T";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\sub").c_str(), nullptr);
    CreateDirectoryA((root + "\\e").c_str(), nullptr);
    WriteFileBytes(root + "\\a.txt", "abc");
    WriteFileBytes(root + "\\sub\\b.txt", "a");

    DWORD crc = 0;
    ASSERT_EQ(DeviceCalcFolderCrc32(Wide(root).c_str(), &crc, FALSE), S_OK);
    EXPECT_EQ(crc, Crc32OfPathText(Wide(root + "\\a.txt")) ^ Crc32("abc") ^
                       Crc32OfPathText(Wide(root + "\\sub\\b.txt")) ^ Crc32("a"));

    const std::string empty = folder / "E";
    CreateDirectoryA(empty.c_str(), nullptr);
    crc = 0;
    ASSERT_EQ(DeviceCalcFolderCrc32(Wide(empty).c_str(), &crc, FALSE), S_OK);
    EXPECT_EQ(crc, Crc32OfPathText(Wide(empty))) << "a folder with no entries: its path text";
    CreateDirectoryA((empty + "\\sub").c_str(), nullptr);
    crc = 0;
    ASSERT_EQ(DeviceCalcFolderCrc32(Wide(empty).c_str(), &crc, FALSE), S_OK);
    EXPECT_EQ(crc, 0u) << "an empty sub-folder contributes nothing";

    crc = 0;
    EXPECT_EQ(DeviceCalcFolderCrc32(Wide(folder / "missing").c_str(), &crc, FALSE), E_FAIL);

    HANDLE held = CreateFileA((root + "\\sub\\b.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    crc = 0;
    EXPECT_EQ(DeviceCalcFolderCrc32(Wide(root).c_str(), &crc, FALSE), STG_E_SHAREVIOLATION)
        << "a file in use stops the walk with its error";
    CloseHandle(held);
}

}  // namespace
}  // namespace vorlan::devicefs
