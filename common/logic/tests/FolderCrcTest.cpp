#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "Crc32.h"
#include "FolderCrc.h"
#include "QuickCrcRecord.h"

namespace vorlan {
namespace {

TEST(QuickCrcTest, RecordLayoutByteForByte) {
    auto record = QuickCrcRecord(0x01D9123456789ABCull, 0x0000000700000003ull);
    std::array<uint8_t, kQuickCrcRecordSize> want{};
    const uint8_t writeLow[] = {0x00, 0x00, 0x00, 0x50}, writeHigh[] = {0x34, 0x12, 0xD9, 0x01};
    const uint8_t sizeHigh[] = {0x07, 0, 0, 0}, sizeLow[] = {0x03, 0, 0, 0};
    std::copy(std::begin(writeLow), std::end(writeLow), want.begin() + 20);
    std::copy(std::begin(writeHigh), std::end(writeHigh), want.begin() + 24);
    std::copy(std::begin(sizeHigh), std::end(sizeHigh), want.begin() + 32);
    std::copy(std::begin(sizeLow), std::end(sizeLow), want.begin() + 36);
    EXPECT_EQ(record, want);
    EXPECT_EQ(QuickCrc32(0x01D9123456789ABCull, 0x0000000700000003ull), Crc32Update(want.data(), want.size()));
}

TEST(QuickCrcTest, KeepsSizeAndCoarseWriteTime) {
    const uint64_t time = 0x01D9123456789ABCull;
    const uint64_t unit = uint64_t{1} << 28;
    EXPECT_EQ(QuickCrc32(time, 3), 0x9633FC3Au);
    EXPECT_EQ(QuickCrc32(time + 10'000'000, 3), QuickCrc32(time, 3)) << "one second later, same unit";
    EXPECT_NE(QuickCrc32(time + unit, 3), QuickCrc32(time, 3)) << "next unit";
    EXPECT_NE(QuickCrc32(time, 4), QuickCrc32(time, 3)) << "other size";
    EXPECT_NE(QuickCrc32(time, 3 + (uint64_t{1} << 32)), QuickCrc32(time, 3)) << "size beyond 4 GB";
}

// A tree in memory whose folders list their entries in a chosen order and
// whose files can be made to fail.
class MemoryTree : public FolderTree {
public:
    void AddFile(const String16& path, std::string content) { files_[path] = std::move(content); Link(path, false); }
    void AddFolder(const String16& path) { folders_[path]; Link(path, true); }
    // The file's CRC, or the folder's listing, fails with code.
    void Fail(const String16& path, int32_t code) { failures_[path] = code; }
    bool reversed = false;

    int32_t List(const String16& folder, std::vector<FolderEntry>& entries) override {
        if (auto f = failures_.find(folder); f != failures_.end()) return f->second;
        entries = folders_.at(folder);
        if (reversed) std::reverse(entries.begin(), entries.end());
        return 0;
    }
    int32_t FileCrc(const String16& file, bool quick, uint32_t& crc) override {
        if (auto f = failures_.find(file); f != failures_.end()) return f->second;
        const std::string& content = files_.at(file);
        crc = quick ? QuickCrc32(0, content.size()) : Crc32(content);
        return 0;
    }

private:
    void Link(const String16& path, bool isFolder) {
        size_t cut = path.rfind('\\');
        auto parent = folders_.find(path.substr(0, cut));
        if (parent != folders_.end()) parent->second.push_back({path.substr(cut + 1), isFolder});
    }
    std::map<String16, std::vector<FolderEntry>> folders_;
    std::map<String16, std::string> files_;
    std::map<String16, int32_t> failures_;
};

MemoryTree SmallTree(const String16& root) {
    MemoryTree tree;
    tree.AddFolder(root);
    tree.AddFile(root + VORLAN_U16("\\a.txt"), "abc");
    tree.AddFolder(root + VORLAN_U16("\\sub"));
    tree.AddFile(root + VORLAN_U16("\\sub\\b.txt"), "a");
    tree.AddFolder(root + VORLAN_U16("\\e"));
    return tree;
}

uint32_t FolderValue(MemoryTree& tree, const String16& folder, bool quick = false) {
    uint32_t crc = 0;
    EXPECT_EQ(CombineFolderCrc32(tree, folder, quick, crc), 0);
    return crc;
}

TEST(FolderCrcTest, ValueOfSmallTreeInAnyListingOrder) {
    const String16 root = VORLAN_U16("\\Sync\\T");
    MemoryTree tree = SmallTree(root);
    uint32_t want = Crc32OfPathText(VORLAN_U16("\\Sync\\T\\a.txt")) ^ Crc32("abc") ^
                    Crc32OfPathText(VORLAN_U16("\\Sync\\T\\sub\\b.txt")) ^ Crc32("a");
    EXPECT_EQ(want, 0xCF04ECECu);
    EXPECT_EQ(FolderValue(tree, root), want);
    tree.reversed = true;
    EXPECT_EQ(FolderValue(tree, root), want);
    EXPECT_NE(FolderValue(tree, root, true), want) << "quick mode sums the quick CRCs";
}

TEST(FolderCrcTest, EmptyFoldersAndChanges) {
    MemoryTree empty;
    empty.AddFolder(VORLAN_U16("\\Sync\\E"));
    EXPECT_EQ(FolderValue(empty, VORLAN_U16("\\Sync\\E")), 0xDA28C1FEu) << "the CRC of its path text";
    empty.AddFolder(VORLAN_U16("\\Sync\\E\\sub"));
    EXPECT_EQ(FolderValue(empty, VORLAN_U16("\\Sync\\E")), 0u) << "an empty sub-folder contributes nothing";

    MemoryTree tree = SmallTree(VORLAN_U16("\\Sync\\T"));
    const uint32_t original = FolderValue(tree, VORLAN_U16("\\Sync\\T"));
    MemoryTree moved = SmallTree(VORLAN_U16("\\Sync\\U"));
    EXPECT_NE(FolderValue(moved, VORLAN_U16("\\Sync\\U")), original) << "full paths are summed";

    MemoryTree renamed;
    renamed.AddFolder(VORLAN_U16("\\Sync\\T"));
    renamed.AddFile(VORLAN_U16("\\Sync\\T\\A.txt"), "abc");
    renamed.AddFolder(VORLAN_U16("\\Sync\\T\\sub"));
    renamed.AddFile(VORLAN_U16("\\Sync\\T\\sub\\b.txt"), "a");
    EXPECT_NE(FolderValue(renamed, VORLAN_U16("\\Sync\\T")), original) << "a renamed file";
}

TEST(FolderCrcTest, FirstFailureStopsTheWalk) {
    const String16 root = VORLAN_U16("\\Sync\\T");
    const int32_t kShared = static_cast<int32_t>(0x80030020), kGone = static_cast<int32_t>(0x80004005);
    struct Case {
        const char* note;
        String16 failing;
        int32_t code;
    };
    const Case cases[] = {
        {"a file of the top folder", root + VORLAN_U16("\\a.txt"), kShared},
        {"a file in a sub-folder", root + VORLAN_U16("\\sub\\b.txt"), kShared},
        {"the listing of a sub-folder", root + VORLAN_U16("\\sub"), kGone},
        {"the listing of the top folder", root, kGone},
    };
    for (const Case& c : cases) {
        MemoryTree tree = SmallTree(root);
        tree.Fail(c.failing, c.code);
        uint32_t crc = 0;
        EXPECT_EQ(CombineFolderCrc32(tree, root, false, crc), c.code) << c.note;
    }
}

}  // namespace
}  // namespace vorlan
