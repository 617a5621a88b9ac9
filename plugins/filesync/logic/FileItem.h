#pragma once
// A file item's text form: the operation keyword, file attribute names,
// two-way options and the two wildcard lists in "FileAttributes", WinInet
// transfer flag names in "DownloadAttributes", and the numbers they stand
// for. The engine reads items this way and writes the items of a folder
// walk the same way.
#include <cstdint>
#include <string>
#include <string_view>

namespace vorlan::filesync {

enum FileOperation : uint32_t {
    kCreateFile = 1,
    kDeleteFile = 2,
    kCreateFolder = 3,
    kDeleteFolder = 4,
    kLocalCreateFile = 5,
    kLocalDeleteFile = 6,
    kLocalCreateFolder = 7,
    kLocalDeleteFolder = 8,
    kCopyFolderContent = 9,
    kLocalCopyFolderContent = 10,
    kCreateFileFromCe = 11,
    kLocalCreateFileFromCe = 12,
    kCopyFolderContentFromCe = 13,
    kLocalCopyFolderContentFromCe = 14,
    kTwoWayFileSync = 15,
    kTwoWayFolderSync = 16,
    kTwoWayFolderSyncFirstPass = 17,
    kTwoWayFolderSyncSecondPass = 18,
};

// Option bits (two-way items only).
inline constexpr uint32_t kNeverDelete = 1;
inline constexpr uint32_t kConflictDeviceWins = 2;
inline constexpr uint32_t kConflictWorkstationWins = 4;
inline constexpr uint32_t kConflictResolveManually = 8;

// Transfer flags of an empty "DownloadAttributes": reload, binary.
inline constexpr uint32_t kDefaultTransferFlags = 0x80000002;
inline constexpr uint32_t kTransferBinary = 0x2;
inline constexpr uint32_t kTransferPassive = 0x8000000;

inline constexpr char kInclusionPrefix[] = "QV_INCLUSION_FILTER=";
inline constexpr char kExclusionPrefix[] = "QV_EXCLUSION_FILTER=";
// What joins the elements of an item's text.
inline constexpr char kElementSeparator[] = " | ";

struct TransferAttributes {
    uint32_t operation = kCreateFile;
    uint32_t fileAttributes = 0;
    uint32_t transferFlags = kDefaultTransferFlags;
    uint32_t options = 0;
    std::string inclusion = "*";
    std::string exclusion;

    bool operator==(const TransferAttributes&) const = default;
};

// Never fails: unknown words are ignored, no operation keyword means
// kCreateFile, an empty inclusion list means "*". Keywords compare without
// regard to case; the filter prefixes only in upper case.
TransferAttributes ParseTransferAttributes(std::string_view fileAttributes, std::string_view downloadAttributes);

// The keyword of an operation, "" for a code outside 1..18.
const char* OperationKeyword(uint32_t operation);

// Where the engine finds the origin and the destination.
bool OriginOnDevice(uint32_t operation);
bool DestinationOnDevice(uint32_t operation);
// The operations that walk a folder tree entry by entry.
bool IsFolderWalk(uint32_t operation);

// Appends " | QV_NEVER_DELETE_FILES_AND_FOLDERS" for bit 1, then
// " | QV_CONFLICT_DEVICE_WINS" for bit 2, or else
// " | QV_CONFLICT_WORKSTATION_WINS" for bit 4. Bit 8 is not carried.
void AppendTwoWayOptions(uint32_t options, std::string& text);

// The "FileAttributes" text of one entry met by the walk of a folder item:
// a folder carries the walk's own keyword, its options and both lists; a
// file the copy (or two-way) keyword of its kind, without filters.
std::string SubItemAttributes(const TransferAttributes& walk, bool isFolder);

}  // namespace vorlan::filesync
