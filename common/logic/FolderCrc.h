#pragma once
// The CRC-32 of a folder tree: the XOR, over every file at any depth, of
// CRC(full path text) XOR CRC(file). It does not depend on the order in
// which a folder lists its entries; it changes when a file is added,
// removed, renamed or changed, and not when an empty folder is added. A
// folder with no entries at all has the CRC of its own path text. Path texts
// are summed as UTF-16LE bytes without terminator, full names being
// folder + "\" + entry name at every level.
#include <cstdint>
#include <vector>

#include "Utf16.h"

namespace vorlan {

struct FolderEntry {
    String16 name;
    bool isFolder = false;
};

// Where the tree is read from: the device's file system, the desktop's, or
// a test's. Results are 0 for success or a failure code (an HRESULT on
// Windows) that stops the walk and is passed on unchanged.
class FolderTree {
public:
    virtual ~FolderTree() = default;
    // The folder's entries, without "." and "..". An empty folder is a
    // success with no entries.
    virtual int32_t List(const String16& folder, std::vector<FolderEntry>& entries) = 0;
    // The file's CRC-32 over its content, or its quick CRC.
    virtual int32_t FileCrc(const String16& file, bool quick, uint32_t& crc) = 0;
};

// CRC-32 of a path text as UTF-16LE bytes.
uint32_t Crc32OfPathText(String16View path);

// Combines the folder's value into accumulator, which callers start at 0;
// a folder with no entries sets it to the CRC of its path text instead.
// Entries are visited in listing order; the first failure stops the walk and
// is returned, and the accumulator is then meaningless.
int32_t CombineFolderCrc32(FolderTree& tree, const String16& folder, bool quick, uint32_t& accumulator);

}  // namespace vorlan
