#include "FileItem.h"

#include <gtest/gtest.h>

namespace vorlan::filesync {
namespace {

struct ParseCase {
    const char* fileAttributes;
    const char* downloadAttributes;
    TransferAttributes want;
};

TransferAttributes Op(uint32_t operation, uint32_t attributes = 0, uint32_t options = 0,
                      const char* inclusion = "*", const char* exclusion = "",
                      uint32_t flags = kDefaultTransferFlags) {
    return {operation, attributes, flags, options, inclusion, exclusion};
}

TEST(FileItemTest, ParsesEveryKeywordAndElement) {
    const ParseCase cases[] = {
        {"", "", Op(kCreateFile)},
        {"QV_CREATE_FILE", "", Op(1)},
        {"QV_DELETE_FILE", "", Op(2)},
        {"QV_CREATE_FOLDER", "", Op(3)},
        {"QV_DELETE_FOLDER", "", Op(4)},
        {"QV_LOCAL_CREATE_FILE", "", Op(5)},
        {"QV_LOCAL_DELETE_FILE", "", Op(6)},
        {"QV_LOCAL_CREATE_FOLDER", "", Op(7)},
        {"QV_LOCAL_DELETE_FOLDER", "", Op(8)},
        {"QV_COPY_FOLDER_CONTENT", "", Op(9)},
        {"QV_LOCAL_COPY_FOLDER_CONTENT", "", Op(10)},
        {"QV_CREATE_FILE_FROM_CE", "", Op(11)},
        {"QV_LOCAL_CREATE_FILE_FROM_CE", "", Op(12)},
        {"QV_COPY_FOLDER_CONTENT_FROM_CE", "", Op(13)},
        {"QV_LOCAL_COPY_FOLDER_CONTENT_FROM_CE", "", Op(14)},
        {"QV_TWO_WAY_FILE_SYNC", "", Op(15)},
        {"QV_TWO_WAY_FOLDER_SYNC", "", Op(16)},
        {"QV_TWO_WAY_FOLDER_SYNC_1ST_PASS", "", Op(17)},
        {"QV_TWO_WAY_FOLDER_SYNC_2ND_PASS", "", Op(18)},
        // Case, order and separators.
        {"qv_delete_file", "", Op(2)},
        {"QV_DELETE_FILE QV_CREATE_FILE", "", Op(2)},
        {"FOO | QV_LOCAL_DELETE_FILE", "", Op(6)},
        {"QV_TWO_WAY_FILE_SYNC|QV_CONFLICT_DEVICE_WINS", "", Op(15, 0, 2)},
        {"QV_TWO_WAY_FILE_SYNC | QV_CONFLICT_DEVICE_WINS | QV_CONFLICT_WORKSTATION_WINS", "", Op(15, 0, 6)},
        {"QV_TWO_WAY_FOLDER_SYNC | QV_NEVER_DELETE_FILES_AND_FOLDERS | qv_conflict_resolve_manually", "",
         Op(16, 0, 9)},
        {"QV_TWO_WAY_FILESYNC", "", Op(kCreateFile)},
        // Attribute names.
        {"FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY", "", Op(1, 0x3)},
        {"QV_CREATE_FILE | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | "
         "FILE_ATTRIBUTE_TEMPORARY",
         "", Op(1, 0x1A4)},
        // Filter lists.
        {"QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*.txt:*.doc | QV_EXCLUSION_FILTER=~*", "",
         Op(9, 0, 0, "*.txt:*.doc", "~*")},
        {"QV_COPY_FOLDER_CONTENT | QV_EXCLUSION_FILTER=*.Bak | QV_INCLUSION_FILTER=Read Me*", "",
         Op(9, 0, 0, "Read Me*", "*.Bak")},
        {"QV_COPY_FOLDER_CONTENT | qv_inclusion_filter=*.txt", "", Op(9)},
        {"QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER= | QV_EXCLUSION_FILTER=", "", Op(9)},
        // Transfer flags.
        {"", "INTERNET_FLAG_PASSIVE", Op(1, 0, 0, "*", "", 0x8000000)},
        {"", "junk words", Op(1, 0, 0, "*", "", 0)},
        {"", "internet_flag_transfer_ascii|INTERNET_FLAG_DONT_CACHE INTERNET_FLAG_SECURE", Op(1, 0, 0, "*", "", 0x4800001)},
        {"", "INTERNET_FLAG_RELOAD | INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_EXISTING_CONNECT", Op(1, 0, 0, "*", "", 0xA0000002)},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(ParseTransferAttributes(c.fileAttributes, c.downloadAttributes), c.want)
            << "\"" << c.fileAttributes << "\" / \"" << c.downloadAttributes << "\"";
}

TEST(FileItemTest, SidesOfEveryOperation) {
    // origin on device, destination on device, folder walk
    const bool sides[19][3] = {
        {}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
        {0, 1, 1}, {0, 0, 1}, {1, 0, 0}, {1, 1, 0}, {1, 0, 1}, {1, 1, 1}, {0, 1, 0}, {0, 1, 0},
        {0, 1, 1}, {1, 0, 1},
    };
    for (uint32_t op = 1; op <= 18; ++op) {
        EXPECT_EQ(OriginOnDevice(op), sides[op][0]) << op;
        EXPECT_EQ(DestinationOnDevice(op), sides[op][1]) << op;
        EXPECT_EQ(IsFolderWalk(op), sides[op][2]) << op;
        EXPECT_EQ(ParseTransferAttributes(OperationKeyword(op), "").operation, op) << "keyword round trip " << op;
    }
    EXPECT_STREQ(OperationKeyword(0), "");
    EXPECT_STREQ(OperationKeyword(19), "");
}

TEST(FileItemTest, TwoWayOptionsAppended) {
    const struct {
        uint32_t options;
        const char* want;
    } cases[] = {
        {0, "X"},
        {1, "X | QV_NEVER_DELETE_FILES_AND_FOLDERS"},
        {2, "X | QV_CONFLICT_DEVICE_WINS"},
        {4, "X | QV_CONFLICT_WORKSTATION_WINS"},
        {6, "X | QV_CONFLICT_DEVICE_WINS"},
        {8, "X"},
        {0xF, "X | QV_NEVER_DELETE_FILES_AND_FOLDERS | QV_CONFLICT_DEVICE_WINS"},
    };
    for (const auto& c : cases) {
        std::string text = "X";
        AppendTwoWayOptions(c.options, text);
        EXPECT_EQ(text, c.want) << c.options;
    }
}

TEST(FileItemTest, SubItemTextsOfAFolderWalk) {
    const struct {
        const char* walk;
        bool isFolder;
        const char* want;
    } cases[] = {
        {"QV_COPY_FOLDER_CONTENT | FILE_ATTRIBUTE_HIDDEN", false, ""},
        {"QV_COPY_FOLDER_CONTENT | FILE_ATTRIBUTE_HIDDEN", true, "QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*"},
        {"QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*.txt:*.doc | QV_EXCLUSION_FILTER=~*", true,
         "QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*.txt:*.doc | QV_EXCLUSION_FILTER=~*"},
        {"QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*.txt", false, ""},
        {"QV_LOCAL_COPY_FOLDER_CONTENT", false, "QV_LOCAL_CREATE_FILE"},
        {"QV_LOCAL_COPY_FOLDER_CONTENT", true, "QV_LOCAL_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*"},
        {"QV_COPY_FOLDER_CONTENT_FROM_CE", false, "QV_CREATE_FILE_FROM_CE"},
        {"QV_COPY_FOLDER_CONTENT_FROM_CE", true, "QV_COPY_FOLDER_CONTENT_FROM_CE | QV_INCLUSION_FILTER=*"},
        {"QV_LOCAL_COPY_FOLDER_CONTENT_FROM_CE", false, "QV_LOCAL_CREATE_FILE_FROM_CE"},
        {"QV_TWO_WAY_FOLDER_SYNC_1ST_PASS | QV_CONFLICT_WORKSTATION_WINS | QV_EXCLUSION_FILTER=*.tmp", false,
         "QV_TWO_WAY_FILE_SYNC | QV_CONFLICT_WORKSTATION_WINS"},
        {"QV_TWO_WAY_FOLDER_SYNC_2ND_PASS | QV_NEVER_DELETE_FILES_AND_FOLDERS | QV_CONFLICT_RESOLVE_MANUALLY", true,
         "QV_TWO_WAY_FOLDER_SYNC_2ND_PASS | QV_NEVER_DELETE_FILES_AND_FOLDERS | QV_INCLUSION_FILTER=*"},
    };
    for (const auto& c : cases) {
        const TransferAttributes walk = ParseTransferAttributes(c.walk, "");
        const std::string text = SubItemAttributes(walk, c.isFolder);
        EXPECT_EQ(text, c.want) << c.walk << (c.isFolder ? " (folder)" : " (file)");
        // What a sub-item says is what the walk meant for it.
        const TransferAttributes sub = ParseTransferAttributes(text, "");
        if (c.isFolder) {
            EXPECT_EQ(sub.operation, walk.operation);
            EXPECT_EQ(sub.inclusion, walk.inclusion);
            EXPECT_EQ(sub.exclusion, walk.exclusion);
        } else {
            EXPECT_EQ(sub.inclusion, "*");
            EXPECT_EQ(sub.fileAttributes, 0u);
        }
    }
}

}  // namespace
}  // namespace vorlan::filesync
