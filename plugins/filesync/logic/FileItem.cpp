#include "FileItem.h"

#include "StringTokenizer2.h"

namespace vorlan::filesync {
namespace {

// Each list in the order its matches are tried.
constexpr Keyword kAttributes[] = {
    {"FILE_ATTRIBUTE_ARCHIVE", 0x20}, {"FILE_ATTRIBUTE_HIDDEN", 0x2},  {"FILE_ATTRIBUTE_NORMAL", 0x80},
    {"FILE_ATTRIBUTE_READONLY", 0x1}, {"FILE_ATTRIBUTE_SYSTEM", 0x4}, {"FILE_ATTRIBUTE_TEMPORARY", 0x100},
};

constexpr Keyword kOperations[] = {
    {"QV_CREATE_FILE", kCreateFile},
    {"QV_DELETE_FILE", kDeleteFile},
    {"QV_CREATE_FOLDER", kCreateFolder},
    {"QV_DELETE_FOLDER", kDeleteFolder},
    {"QV_COPY_FOLDER_CONTENT", kCopyFolderContent},
    {"QV_CREATE_FILE_FROM_CE", kCreateFileFromCe},
    {"QV_LOCAL_CREATE_FILE", kLocalCreateFile},
    {"QV_LOCAL_DELETE_FILE", kLocalDeleteFile},
    {"QV_LOCAL_CREATE_FOLDER", kLocalCreateFolder},
    {"QV_LOCAL_DELETE_FOLDER", kLocalDeleteFolder},
    {"QV_LOCAL_COPY_FOLDER_CONTENT", kLocalCopyFolderContent},
    {"QV_LOCAL_CREATE_FILE_FROM_CE", kLocalCreateFileFromCe},
    {"QV_TWO_WAY_FILE_SYNC", kTwoWayFileSync},
    {"QV_COPY_FOLDER_CONTENT_FROM_CE", kCopyFolderContentFromCe},
    {"QV_LOCAL_COPY_FOLDER_CONTENT_FROM_CE", kLocalCopyFolderContentFromCe},
    {"QV_TWO_WAY_FOLDER_SYNC", kTwoWayFolderSync},
    {"QV_TWO_WAY_FOLDER_SYNC_1ST_PASS", kTwoWayFolderSyncFirstPass},
    {"QV_TWO_WAY_FOLDER_SYNC_2ND_PASS", kTwoWayFolderSyncSecondPass},
};

constexpr Keyword kTransferFlags[] = {
    {"INTERNET_FLAG_TRANSFER_ASCII", 0x1},
    {"INTERNET_FLAG_TRANSFER_BINARY", kTransferBinary},
    {"INTERNET_FLAG_RELOAD", 0x80000000},
    {"INTERNET_FLAG_DONT_CACHE", 0x4000000},
    {"INTERNET_FLAG_SECURE", 0x800000},
    {"INTERNET_FLAG_EXISTING_CONNECT", 0x20000000},
    {"INTERNET_FLAG_PASSIVE", kTransferPassive},
};

constexpr Keyword kOptions[] = {
    {"QV_NEVER_DELETE_FILES_AND_FOLDERS", kNeverDelete},
    {"QV_CONFLICT_DEVICE_WINS", kConflictDeviceWins},
    {"QV_CONFLICT_WORKSTATION_WINS", kConflictWorkstationWins},
    {"QV_CONFLICT_RESOLVE_MANUALLY", kConflictResolveManually},
};

// The text after prefix up to the next " |", or to the end.
std::string FilterList(std::string_view text, std::string_view prefix) {
    const size_t at = text.find(prefix);
    if (at == std::string_view::npos) return {};
    const size_t from = at + prefix.size();
    const size_t end = text.find(" |", from);
    return std::string(text.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from));
}

}  // namespace

TransferAttributes ParseTransferAttributes(std::string_view fileAttributes, std::string_view downloadAttributes) {
    TransferAttributes parsed;
    parsed.fileAttributes = LookupKeywordTable(fileAttributes, kAttributes, true);
    parsed.operation = LookupKeywordTable(fileAttributes, kOperations, false);
    if (parsed.operation == 0) parsed.operation = kCreateFile;
    parsed.options = LookupKeywordTable(fileAttributes, kOptions, true);
    parsed.transferFlags =
        downloadAttributes.empty() ? kDefaultTransferFlags
                                   : LookupKeywordTable(downloadAttributes, kTransferFlags, true);
    parsed.inclusion = FilterList(fileAttributes, kInclusionPrefix);
    if (parsed.inclusion.empty()) parsed.inclusion = "*";
    parsed.exclusion = FilterList(fileAttributes, kExclusionPrefix);
    return parsed;
}

const char* OperationKeyword(uint32_t operation) {
    for (const Keyword& k : kOperations)
        if (k.value == operation) return k.name;
    return "";
}

bool OriginOnDevice(uint32_t operation) {
    switch (operation) {
        case kCreateFileFromCe:
        case kLocalCreateFileFromCe:
        case kCopyFolderContentFromCe:
        case kLocalCopyFolderContentFromCe:
        case kTwoWayFolderSyncSecondPass:
            return true;
        default:
            return false;
    }
}

bool DestinationOnDevice(uint32_t operation) {
    switch (operation) {
        case kCreateFile:
        case kDeleteFile:
        case kCreateFolder:
        case kDeleteFolder:
        case kCopyFolderContent:
        case kLocalCreateFileFromCe:
        case kLocalCopyFolderContentFromCe:
        case kTwoWayFileSync:
        case kTwoWayFolderSync:
        case kTwoWayFolderSyncFirstPass:
            return true;
        default:
            return false;
    }
}

bool IsFolderWalk(uint32_t operation) {
    switch (operation) {
        case kCopyFolderContent:
        case kLocalCopyFolderContent:
        case kCopyFolderContentFromCe:
        case kLocalCopyFolderContentFromCe:
        case kTwoWayFolderSyncFirstPass:
        case kTwoWayFolderSyncSecondPass:
            return true;
        default:
            return false;
    }
}

void AppendTwoWayOptions(uint32_t options, std::string& text) {
    if (options & kNeverDelete) (text += kElementSeparator) += "QV_NEVER_DELETE_FILES_AND_FOLDERS";
    if (options & kConflictDeviceWins)
        (text += kElementSeparator) += "QV_CONFLICT_DEVICE_WINS";
    else if (options & kConflictWorkstationWins)
        (text += kElementSeparator) += "QV_CONFLICT_WORKSTATION_WINS";
}

std::string SubItemAttributes(const TransferAttributes& walk, bool isFolder) {
    std::string text;
    if (isFolder) {
        text = OperationKeyword(walk.operation);
        AppendTwoWayOptions(walk.options, text);
        if (!walk.inclusion.empty()) text += kElementSeparator + std::string(kInclusionPrefix) + walk.inclusion;
        if (!walk.exclusion.empty()) text += kElementSeparator + std::string(kExclusionPrefix) + walk.exclusion;
        return text;
    }
    switch (walk.operation) {
        case kCopyFolderContent:
            return {};  // runs as kCreateFile
        case kLocalCopyFolderContent:
            return OperationKeyword(kLocalCreateFile);
        case kCopyFolderContentFromCe:
            return OperationKeyword(kCreateFileFromCe);
        case kLocalCopyFolderContentFromCe:
            return OperationKeyword(kLocalCreateFileFromCe);
        case kTwoWayFolderSyncFirstPass:
        case kTwoWayFolderSyncSecondPass:
            text = OperationKeyword(kTwoWayFileSync);
            AppendTwoWayOptions(walk.options, text);
            return text;
        default:
            return {};
    }
}

}  // namespace vorlan::filesync
