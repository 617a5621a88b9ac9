#pragma once
// What the file item wizard's five pages show and edit, as plain values,
// and the two translations between them and an item's texts: Load fills
// the pages from "OriginUrl", "Dest", "FileAttributes" and
// "DownloadAttributes" (with the table's URL, "QvMy_URL"), Store writes
// the texts back in the form the engine reads (FileItem.h). Neither looks
// at a window: the pages only show these values.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorlan::filesync {

// The kinds of text the wizard tells apart; kNone is anything that is no
// file, FTP, HTTP or HTTPS URL (a device path, a relative path without a
// table URL, another scheme).
enum class UrlKind { kNone, kFile, kFtp, kHttp, kHttps };

// The kind of text, resolved against base when base is not empty (the
// platform's URL classification, where absolute local paths are files).
using UrlKindOf = std::function<UrlKind(const std::string& text, const std::string& base)>;

// The wizard's sixteen choices, in the order of its operation list.
inline constexpr int kWizardOperations = 16;
// The operation code of a choice; kCreateFile for one outside 0..15.
uint32_t OperationOfIndex(int index);
// The choice of an operation code; 0 for a code outside 1..16.
int IndexOfOperation(uint32_t operation);

struct FileItemTexts {
    std::string originUrl;
    std::string dest;
    std::string fileAttributes;
    std::string downloadAttributes;

    bool operator==(const FileItemTexts&) const = default;
};

enum ConflictRule : int { kConflictManual = 0, kConflictDevice = 1, kConflictWorkstation = 2 };

struct FileItemPages {
    int operation = 0;
    std::string tableUrl;

    // The origin page: a file, a URL or a device file.
    std::string origin;
    bool ascii = false;
    bool dontCache = false;
    bool ignoreCache = true;
    bool secure = false;
    bool passive = false;
    bool reuseConnection = false;

    // The destination page.
    std::string destination;
    bool preserve = true;
    bool normal = false;
    bool readOnly = false;
    bool hidden = false;
    bool archive = false;
    bool system = false;
    bool temporary = false;

    // The folder page: one pattern per row.
    std::string folderOrigin;
    std::vector<std::string> inclusion{"*"};
    std::vector<std::string> exclusion;

    // The two-way options page.
    bool neverDelete = false;
    int conflict = kConflictManual;

    bool operator==(const FileItemPages&) const = default;
};

// The pages of an item. Keywords are read without regard to ASCII case;
// the filter lists as written (an upper-case prefix, the patterns' own
// case), as the engine reads them. An operation outside 1..16 opens at the
// first choice.
FileItemPages LoadFileItemPages(const FileItemTexts& item, const std::string& tableUrl, const UrlKindOf& kindOf);

// The item's texts of the pages. Choices without an origin write
// "OriginUrl" and "DownloadAttributes" empty; the default transfer
// (binary, ignore the cache, nothing else) is written empty too.
FileItemTexts StoreFileItemPages(const FileItemPages& pages, const UrlKindOf& kindOf);

}  // namespace vorlan::filesync
