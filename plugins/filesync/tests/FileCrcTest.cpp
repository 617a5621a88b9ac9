// Workstation checksums and the device library's checksum, status and
// record calls.
#include <gtest/gtest.h>

#include "Crc32.h"
#include "FileCrc.h"
#include "FileSyncFixture.h"

namespace vorlan::filesync::testing {
namespace {

using vorlan::testing::WriteFileBytes;

class FileCrcTest : public FileSyncSuite {
protected:
    vorlan::testing::RapiSession session_;
};

TEST_F(FileCrcTest, WorkstationFiles) {
    WriteFileBytes(Local("abc.txt"), "abc");
    WriteFileBytes(Local("empty.txt"), "");
    DWORD crc = 1;
    EXPECT_EQ(CalcFileCrc32(Local("abc.txt").c_str(), &crc, FALSE), S_OK);
    EXPECT_EQ(crc, 0x352441C2u);
    EXPECT_EQ(CalcFileCrc32(Local("empty.txt").c_str(), &crc, FALSE), S_OK);
    EXPECT_EQ(crc, 0u);
    EXPECT_EQ(CalcFileCrc32(Local("missing.txt").c_str(), &crc, FALSE), STG_E_FILENOTFOUND);
    EXPECT_EQ(CalcFileCrc32(Local("no\\such\\folder.txt").c_str(), &crc, FALSE), STG_E_FILENOTFOUND);
    EXPECT_EQ(CalcFileCrc32(nullptr, &crc, FALSE), E_INVALIDARG);
    HANDLE held = CreateFileA(Local("abc.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(CalcFileCrc32(Local("abc.txt").c_str(), &crc, FALSE), STG_E_SHAREVIOLATION);
    CloseHandle(held);
    EXPECT_EQ(CalcFileCrc32(Local("abc.txt").c_str(), &crc, TRUE), S_OK) << "quick mode";

    // Two equal files in different folders add different terms to a tree.
    WriteFileBytes(Local("t1.txt"), "same");
    CreateDirectoryA(Local("tree").c_str(), nullptr);
    CreateDirectoryA(Local("tree\\a").c_str(), nullptr);
    CreateDirectoryA(Local("tree\\b").c_str(), nullptr);
    WriteFileBytes(Local("tree\\a\\f.txt"), "same");
    DWORD one = 0;
    EXPECT_EQ(CalcFolderCrc32(Local("tree").c_str(), &one, FALSE), S_OK);
    WriteFileBytes(Local("tree\\b\\f.txt"), "same");
    DWORD two = 0;
    EXPECT_EQ(CalcFolderCrc32(Local("tree").c_str(), &two, FALSE), S_OK);
    EXPECT_NE(one, two);
    EXPECT_NE(two, 0u);
}

TEST_F(FileCrcTest, DeviceChecksumsEqualTheWorkstationsAndBlocksHoldTheirPaths) {
    const std::string bytes(100000, 'q');
    PutDeviceFile(L"\\Crc\\file.bin", bytes);
    DWORD crc = 0;
    EXPECT_EQ(CeCalcCrc32OnDevice("\\Crc\\file.bin", &crc, 0), S_OK);
    EXPECT_EQ(crc, Crc32(bytes));
    EXPECT_EQ(CeCalcCrc32OnDevice("\\Crc\\none.bin", &crc, 0), STG_E_FILENOTFOUND);
    EXPECT_EQ(crc, 0u);
    DWORD tree = 0;
    EXPECT_EQ(CeCalcFolderCrc32OnDevice("\\Crc", &tree, 0), S_OK);
    EXPECT_NE(tree, 0u);

    // A path of its block's whole length is carried; a longer one is refused, never cut.
    const std::string longest = "\\Crc\\" + std::string(kDeviceCrcPathChars - 5, 'n');
    EXPECT_EQ(CeCalcCrc32OnDevice(longest.c_str(), &crc, 0), STG_E_FILENOTFOUND);
    EXPECT_EQ(CeCalcCrc32OnDevice((longest + "x").c_str(), &crc, 0), E_INVALIDARG);
    EXPECT_EQ(CeCalcCrc32OnDevice(nullptr, &crc, 0), E_INVALIDARG);
    EXPECT_EQ(CeUpdateFileCrcRecordOnDevice(std::string(kDeviceRecordPathChars + 1, 'n').c_str(), 1), E_INVALIDARG);
    EXPECT_EQ(CeUpdateFileCrcRecordOnDevice(nullptr, 1), E_POINTER);
    DWORD status = 0;
    EXPECT_EQ(CeGetFileSyncStatusOnDevice(nullptr, &status), E_POINTER);
    EXPECT_EQ(CeRemoveFileCrcRecordOnDevice(nullptr), E_POINTER);
}

TEST_F(FileCrcTest, RecordsAndStatusOnTheDevice) {
    PutDeviceFile(L"\\Rec\\r.txt", "recorded");
    DWORD status = 0;
    EXPECT_EQ(CeGetFileSyncStatusOnDevice("\\Rec\\r.txt", &status), S_OK);
    const DWORD before = status;
    EXPECT_EQ(CeUpdateFileCrcRecordOnDevice("\\Rec\\r.txt", Crc32("recorded")), S_OK);
    EXPECT_EQ(CeGetFileSyncStatusOnDevice("\\Rec\\r.txt", &status), S_OK);
    EXPECT_EQ(status, 4u) << "unchanged since its record";
    PutDeviceFile(L"\\Rec\\r.txt", "changed!");
    EXPECT_EQ(CeGetFileSyncStatusOnDevice("\\Rec\\r.txt", &status), S_OK);
    EXPECT_EQ(status, 3u) << "changed since its record";
    EXPECT_EQ(CeGetFolderSyncStatusOnDevice("\\Rec", &status), S_OK);
    EXPECT_LE(status, 6u);
    EXPECT_EQ(CeRemoveFileCrcRecordOnDevice("\\Rec\\r.txt"), S_OK);
    EXPECT_EQ(CeGetFileSyncStatusOnDevice("\\Rec\\r.txt", &status), S_OK);
    EXPECT_EQ(status, before) << "no record again";
}

TEST_F(FileCrcTest, WithoutADeviceTheStatusIsUnknown) {
    ASSERT_TRUE(device->Disconnect());
    DWORD status = 0, crc = 7;
    EXPECT_TRUE(FAILED(CeGetFileSyncStatusOnDevice("\\x.txt", &status)));
    EXPECT_EQ(status, 5u);
    EXPECT_EQ(CeCalcCrc32OnDevice("\\x.txt", &crc, 0), E_FAIL);
    EXPECT_EQ(crc, 0u);
    EXPECT_TRUE(FAILED(CeUpdateFileCrcRecordOnDevice("\\x.txt", 1)));
    EXPECT_TRUE(FAILED(CeRemoveFileCrcRecordOnDevice("\\x.txt")));
    ASSERT_TRUE(device->Reconnect());
}

}  // namespace
}  // namespace vorlan::filesync::testing
