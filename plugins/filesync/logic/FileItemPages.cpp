#include "FileItemPages.h"

#include <string_view>

#include "FileItem.h"
#include "FileWizardFlow.h"
#include "FilterRows.h"

namespace vorlan::filesync {
namespace {

// The operation of each choice of the wizard's list.
constexpr uint32_t kChoices[kWizardOperations] = {
    kCreateFile,           kDeleteFile,        kCreateFolder,           kDeleteFolder,
    kCopyFolderContent,    kCopyFolderContentFromCe, kCreateFileFromCe, kLocalCreateFile,
    kLocalDeleteFile,      kLocalCreateFolder, kLocalDeleteFolder,      kLocalCopyFolderContent,
    kLocalCopyFolderContentFromCe, kLocalCreateFileFromCe, kTwoWayFileSync, kTwoWayFolderSync,
};

// The texts that carry nothing but an operation whose origin decides the
// attributes a copy gets.
constexpr std::string_view kBareCopyKeywords[] = {
    "QV_COPY_FOLDER_CONTENT",  "QV_LOCAL_COPY_FOLDER_CONTENT", "QV_COPY_FOLDER_CONTENT_FROM_CE",
    "QV_LOCAL_COPY_FOLDER_CONTENT_FROM_CE", "QV_CREATE_FILE_FROM_CE", "QV_LOCAL_CREATE_FILE_FROM_CE",
    "QV_CREATE_FILE", "QV_LOCAL_CREATE_FILE",
};

constexpr uint32_t kArchive = 0x20, kHidden = 0x2, kReadOnly = 0x1, kSystem = 0x4, kTemporary = 0x100,
                   kNormal = 0x80;
constexpr uint32_t kAscii = 0x1, kReload = 0x80000000, kDontCache = 0x4000000, kSecure = 0x800000,
                   kExistingConnect = 0x20000000;

// Upper case in ASCII letters only: other bytes (UTF-8 sequences) stay.
std::string AsciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool IsBareCopyKeyword(std::string_view upper) {
    for (std::string_view keyword : kBareCopyKeywords)
        if (upper == keyword) return true;
    return false;
}

void Append(std::string& text, std::string_view element) {
    if (!text.empty()) text += kElementSeparator;
    text += element;
}

std::string TransferNames(const FileItemPages& pages, UrlKind originKind) {
    std::string names = pages.ascii ? "INTERNET_FLAG_TRANSFER_ASCII" : "INTERNET_FLAG_TRANSFER_BINARY";
    const bool ftp = originKind == UrlKind::kFtp || originKind == UrlKind::kNone;
    const bool http = originKind == UrlKind::kHttp || originKind == UrlKind::kHttps || originKind == UrlKind::kNone;
    if (ftp && pages.passive) Append(names, "INTERNET_FLAG_PASSIVE");
    if (ftp && pages.reuseConnection) Append(names, "INTERNET_FLAG_EXISTING_CONNECT");
    if (http && pages.secure) Append(names, "INTERNET_FLAG_SECURE");
    if (pages.dontCache) Append(names, "INTERNET_FLAG_DONT_CACHE");
    if (pages.ignoreCache) Append(names, "INTERNET_FLAG_RELOAD");
    return names == "INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_RELOAD" ? std::string() : names;
}

}  // namespace

uint32_t OperationOfIndex(int index) {
    return index >= 0 && index < kWizardOperations ? kChoices[index] : kCreateFile;
}

int IndexOfOperation(uint32_t operation) {
    for (int index = 0; index < kWizardOperations; ++index)
        if (kChoices[index] == operation) return index;
    return 0;
}

FileItemPages LoadFileItemPages(const FileItemTexts& item, const std::string& tableUrl, const UrlKindOf& kindOf) {
    FileItemPages pages;
    pages.tableUrl = tableUrl;
    pages.origin = item.originUrl;
    pages.folderOrigin = item.originUrl;
    pages.destination = item.dest;

    // Keywords from the upper-cased text; the filters as the engine finds
    // them, in the text as written.
    const std::string upper = AsciiUpper(item.fileAttributes);
    const TransferAttributes words = ParseTransferAttributes(upper, item.downloadAttributes);
    const TransferAttributes asWritten = ParseTransferAttributes(item.fileAttributes, item.downloadAttributes);
    pages.operation = IndexOfOperation(words.operation);

    if (!upper.empty() && !IsBareCopyKeyword(upper)) {
        const uint32_t a = words.fileAttributes;
        pages.archive = a & kArchive;
        pages.hidden = a & kHidden;
        pages.readOnly = a & kReadOnly;
        pages.system = a & kSystem;
        pages.temporary = a & kTemporary;
        pages.normal = a & kNormal;
        pages.preserve = a == 0;
    } else if (IsNetworkKind(kindOf(item.originUrl, tableUrl))) {
        pages.normal = true;
        pages.preserve = false;
    }

    const uint32_t flags = words.transferFlags;
    pages.ascii = (flags & kAscii) && !(flags & kTransferBinary);
    pages.ignoreCache = flags & kReload;
    pages.dontCache = flags & kDontCache;
    pages.secure = flags & kSecure;
    pages.reuseConnection = flags & kExistingConnect;
    pages.passive = flags & kTransferPassive;

    pages.neverDelete = words.options & kNeverDelete;
    pages.conflict = (words.options & kConflictDeviceWins)        ? kConflictDevice
                     : (words.options & kConflictWorkstationWins) ? kConflictWorkstation
                                                                  : kConflictManual;

    pages.inclusion = SplitFilterList(asWritten.inclusion);
    if (pages.inclusion.empty()) pages.inclusion = {"*"};
    pages.exclusion = SplitFilterList(asWritten.exclusion);
    return pages;
}

FileItemTexts StoreFileItemPages(const FileItemPages& pages, const UrlKindOf& kindOf) {
    const int index = pages.operation >= 0 && pages.operation < kWizardOperations ? pages.operation : 0;
    FileItemTexts item;
    item.fileAttributes = OperationKeyword(OperationOfIndex(index));
    item.dest = pages.destination;

    if (HasOriginAt(index)) {
        item.originUrl = UsesFolderOriginAt(index) ? pages.folderOrigin : pages.origin;
        item.downloadAttributes = TransferNames(pages, kindOf(item.originUrl, pages.tableUrl));
    }
    if (!pages.preserve) {
        const std::pair<bool, const char*> names[] = {
            {pages.normal, "FILE_ATTRIBUTE_NORMAL"},    {pages.readOnly, "FILE_ATTRIBUTE_READONLY"},
            {pages.system, "FILE_ATTRIBUTE_SYSTEM"},    {pages.hidden, "FILE_ATTRIBUTE_HIDDEN"},
            {pages.archive, "FILE_ATTRIBUTE_ARCHIVE"},  {pages.temporary, "FILE_ATTRIBUTE_TEMPORARY"},
        };
        for (const auto& [chosen, name] : names)
            if (chosen) Append(item.fileAttributes, name);
    }
    if (HasOptionsPage(index)) {
        uint32_t options = pages.neverDelete ? kNeverDelete : 0;
        if (pages.conflict == kConflictDevice) options |= kConflictDeviceWins;
        if (pages.conflict == kConflictWorkstation) options |= kConflictWorkstationWins;
        AppendTwoWayOptions(options, item.fileAttributes);
    }
    if (UsesFolderOriginAt(index)) {
        if (!pages.inclusion.empty()) Append(item.fileAttributes, kInclusionPrefix + JoinFilterRows(pages.inclusion));
        if (!pages.exclusion.empty()) Append(item.fileAttributes, kExclusionPrefix + JoinFilterRows(pages.exclusion));
    }
    return item;
}

}  // namespace vorlan::filesync
