#include "FolderCrc.h"

#include "Crc32.h"

namespace vorlan {

uint32_t Crc32OfPathText(String16View path) { return Crc32(Utf16LeBytes(path)); }

int32_t CombineFolderCrc32(FolderTree& tree, const String16& folder, bool quick, uint32_t& accumulator) {
    std::vector<FolderEntry> entries;
    if (int32_t result = tree.List(folder, entries)) return result;
    if (entries.empty()) {
        accumulator = Crc32OfPathText(folder);
        return 0;
    }
    for (const FolderEntry& entry : entries) {
        String16 full = folder + VORLAN_U16("\\") + entry.name;
        uint32_t nameCrc = Crc32OfPathText(full);
        accumulator ^= nameCrc;
        // A sub-folder starts from its own name's CRC, so the name cancels
        // and an empty sub-folder contributes nothing.
        uint32_t value = entry.isFolder ? nameCrc : 0;
        int32_t result = entry.isFolder ? CombineFolderCrc32(tree, full, quick, value)
                                        : tree.FileCrc(full, quick, value);
        if (result) return result;
        accumulator ^= value;
    }
    return 0;
}

}  // namespace vorlan
