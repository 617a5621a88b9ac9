#include "FileItemPages.h"

#include <gtest/gtest.h>

#include "FileItem.h"
#include "FileWizardFlow.h"
#include "FilterRows.h"

namespace vorlan::filesync {
namespace {

// URL kinds as the platform gives them: schemes, drive and UNC paths are
// absolute; anything else takes the kind of the base it is resolved
// against, and is no URL without one.
UrlKind KindOfAlone(const std::string& text) {
    auto starts = [&](const char* prefix) { return text.rfind(prefix, 0) == 0; };
    if (starts("https://")) return UrlKind::kHttps;
    if (starts("http://")) return UrlKind::kHttp;
    if (starts("ftp://")) return UrlKind::kFtp;
    if (starts("file:") || starts("\\\\") || (text.size() > 2 && text[1] == ':' && (text[2] == '\\' || text[2] == '/')))
        return UrlKind::kFile;
    return UrlKind::kNone;
}

UrlKind FakeKindOf(const std::string& text, const std::string& base) {
    const UrlKind alone = KindOfAlone(text);
    if (alone != UrlKind::kNone || base.empty()) return alone;
    return KindOfAlone(base);
}

const UrlKindOf kKindOf = &FakeKindOf;
const std::string kTable = "file:///C:/projects/demo/files.xml";

FileItemPages Load(const FileItemTexts& item, const std::string& table = kTable) {
    return LoadFileItemPages(item, table, kKindOf);
}
FileItemTexts Store(const FileItemPages& pages) { return StoreFileItemPages(pages, kKindOf); }

// The default pages of a choice under the test's table, as change leaves them.
template <class Change>
FileItemPages PagesWith(int operation, Change change) {
    FileItemPages p;
    p.tableUrl = kTable;
    p.operation = operation;
    change(p);
    return p;
}

TEST(FileItemPagesTest, EveryOperationOpensAtItsChoiceAndOthersAtTheFirst) {
    for (int index = 0; index < kWizardOperations; ++index) {
        const FileItemTexts item{"", "", OperationKeyword(OperationOfIndex(index)), ""};
        EXPECT_EQ(Load(item).operation, index) << item.fileAttributes;
    }
    for (const char* text : {"QV_TWO_WAY_FOLDER_SYNC_1ST_PASS", "QV_TWO_WAY_FOLDER_SYNC_2ND_PASS", "", "NONSENSE"})
        EXPECT_EQ(Load({"", "", text, ""}).operation, 0) << text;
    EXPECT_EQ(IndexOfOperation(0), 0);
    EXPECT_EQ(IndexOfOperation(19), 0);
    EXPECT_EQ(OperationOfIndex(-1), kCreateFile);
    EXPECT_EQ(OperationOfIndex(16), kCreateFile);
}

// What the pages show of an item; only the fields a case names differ
// from the defaults.
TEST(FileItemPagesTest, LoadShowsWhatTheItemSays) {
    auto pages = [](auto change) { return PagesWith(0, change); };
    const struct {
        const char* name;
        FileItemTexts item;
        std::string table;
        FileItemPages want;
    } cases[] = {
        {"HTTP origin, bare keyword: Normal",
         {"http://example.org/a.txt", "\\a.txt", "QV_CREATE_FILE", ""}, kTable, pages([](FileItemPages& p) {
             p.origin = p.folderOrigin = "http://example.org/a.txt";
             p.destination = "\\a.txt";
             p.preserve = false;
             p.normal = true;
         })},
        {"file origin, bare keyword: Preserve",
         {"C:\\data\\a.txt", "\\a.txt", "QV_CREATE_FILE", ""}, kTable, pages([](FileItemPages& p) {
             p.origin = p.folderOrigin = "C:\\data\\a.txt";
             p.destination = "\\a.txt";
         })},
        {"relative origin under an FTP table: Normal",
         {"a.txt", "\\a.txt", "qv_local_create_file", ""}, "ftp://example.org/t.xml", pages([](FileItemPages& p) {
             p.tableUrl = "ftp://example.org/t.xml";
             p.operation = 7;
             p.origin = p.folderOrigin = "a.txt";
             p.destination = "\\a.txt";
             p.preserve = false;
             p.normal = true;
         })},
        {"empty text: create file, Preserve", {"", "", "", ""}, kTable, pages([](FileItemPages&) {})},
        {"attribute names in any case, over an HTTP origin",
         {"http://h/a", "", "qv_create_file | file_attribute_hidden | FILE_ATTRIBUTE_READONLY", ""}, kTable,
         pages([](FileItemPages& p) {
             p.origin = p.folderOrigin = "http://h/a";
             p.preserve = false;
             p.hidden = p.readOnly = true;
         })},
        {"every attribute",
         {"", "", "QV_CREATE_FILE | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | "
                  "FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY", ""},
         kTable, pages([](FileItemPages& p) {
             p.preserve = false;
             p.normal = p.readOnly = p.system = p.hidden = p.archive = p.temporary = true;
         })},
        {"a keyword outside the bare list, no attributes: Preserve even over HTTP",
         {"http://h/a", "", "QV_CREATE_FILE | QV_NEVER_DELETE_FILES_AND_FOLDERS", ""}, kTable,
         pages([](FileItemPages& p) {
             p.origin = p.folderOrigin = "http://h/a";
             p.neverDelete = true;
         })},
        {"ASCII alone", {"", "", "", "INTERNET_FLAG_TRANSFER_ASCII"}, kTable, pages([](FileItemPages& p) {
             p.ascii = true;
             p.ignoreCache = false;
         })},
        {"binary wins over ASCII; every other flag",
         {"", "", "",
          "INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_DONT_CACHE | "
          "INTERNET_FLAG_SECURE | INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_PASSIVE"},
         kTable, pages([](FileItemPages& p) {
             p.ignoreCache = false;
             p.dontCache = p.secure = p.reuseConnection = p.passive = true;
         })},
        {"never delete, device wins",
         {"", "", "QV_TWO_WAY_FILE_SYNC | QV_NEVER_DELETE_FILES_AND_FOLDERS | QV_CONFLICT_DEVICE_WINS", ""}, kTable,
         pages([](FileItemPages& p) {
             p.operation = 14;
             p.neverDelete = true;
             p.conflict = kConflictDevice;
         })},
        {"device wins over workstation wins",
         {"", "", "QV_TWO_WAY_FILE_SYNC | QV_CONFLICT_WORKSTATION_WINS | QV_CONFLICT_DEVICE_WINS", ""}, kTable,
         pages([](FileItemPages& p) {
             p.operation = 14;
             p.conflict = kConflictDevice;
         })},
        {"workstation wins",
         {"", "", "QV_TWO_WAY_FOLDER_SYNC|QV_CONFLICT_WORKSTATION_WINS", ""}, kTable, pages([](FileItemPages& p) {
             p.operation = 15;
             p.conflict = kConflictWorkstation;
         })},
        {"both filter lists, one pattern per row",
         {"C:\\docs", "\\docs", "QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*.txt:*.doc | QV_EXCLUSION_FILTER=~*", ""},
         kTable, pages([](FileItemPages& p) {
             p.operation = 4;
             p.origin = p.folderOrigin = "C:\\docs";
             p.destination = "\\docs";
             p.inclusion = {"*.txt", "*.doc"};
             p.exclusion = {"~*"};
         })},
        {"an empty inclusion list shows *",
         {"", "", "QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER= | QV_EXCLUSION_FILTER=*.bak", ""}, kTable,
         pages([](FileItemPages& p) {
             p.operation = 4;
             p.exclusion = {"*.bak"};
         })},
        {"patterns keep their case and letters outside ASCII",
         {"", "", "qv_copy_folder_content | QV_INCLUSION_FILTER=\xC3\xA9t\xC3\xA9*.TXT:Read Me*", ""}, kTable,
         pages([](FileItemPages& p) {
             p.operation = 4;
             p.inclusion = {"\xC3\xA9t\xC3\xA9*.TXT", "Read Me*"};
         })},
        {"a lower-case filter prefix is no filter, as for the engine",
         {"", "", "QV_COPY_FOLDER_CONTENT | qv_inclusion_filter=*.txt", ""}, kTable,
         pages([](FileItemPages& p) { p.operation = 4; })},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Load(c.item, c.table), c.want);
    }
}

TEST(FileItemPagesTest, StoreWritesTheEnginesForm) {
    auto pages = [](int operation, auto change) { return PagesWith(operation, change); };
    const struct {
        const char* name;
        FileItemPages pages;
        FileItemTexts want;
    } cases[] = {
        {"all defaults", pages(0, [](FileItemPages& p) {
             p.origin = "C:\\a.txt";
             p.destination = "\\a.txt";
         }),
         {"C:\\a.txt", "\\a.txt", "QV_CREATE_FILE", ""}},
        {"only Secure HTTP on an HTTPS origin", pages(0, [](FileItemPages& p) {
             p.origin = "https://example.org/a.txt";
             p.destination = "\\a.txt";
             p.preserve = false;
             p.normal = true;
             p.ignoreCache = false;
             p.secure = true;
         }),
         {"https://example.org/a.txt", "\\a.txt", "QV_CREATE_FILE | FILE_ATTRIBUTE_NORMAL",
          "INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_SECURE"}},
        {"FTP: passive and reuse, never secure", pages(7, [](FileItemPages& p) {
             p.origin = "ftp://example.org/a.txt";
             p.destination = "C:\\a.txt";
             p.passive = p.reuseConnection = p.secure = p.dontCache = true;
         }),
         {"ftp://example.org/a.txt", "C:\\a.txt", "QV_LOCAL_CREATE_FILE",
          "INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_PASSIVE | INTERNET_FLAG_EXISTING_CONNECT | "
          "INTERNET_FLAG_DONT_CACHE | INTERNET_FLAG_RELOAD"}},
        {"HTTP: secure, never passive", pages(0, [](FileItemPages& p) {
             p.origin = "http://example.org/a.txt";
             p.passive = p.reuseConnection = p.secure = true;
             p.ascii = true;
         }),
         {"http://example.org/a.txt", "", "QV_CREATE_FILE",
          "INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_SECURE | INTERNET_FLAG_RELOAD"}},
        {"a file origin carries no network flag", pages(0, [](FileItemPages& p) {
             p.origin = "C:\\a.txt";
             p.passive = p.reuseConnection = p.secure = true;
             p.ascii = true;
         }),
         {"C:\\a.txt", "", "QV_CREATE_FILE", "INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_RELOAD"}},
        {"an origin of no known kind carries them all", pages(0, [](FileItemPages& p) {
             p.tableUrl = "";
             p.origin = "gopher://example.org/a";
             p.passive = p.reuseConnection = p.secure = true;
             p.ignoreCache = false;
         }),
         {"gopher://example.org/a", "",
          "QV_CREATE_FILE",
          "INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_PASSIVE | INTERNET_FLAG_EXISTING_CONNECT | "
          "INTERNET_FLAG_SECURE"}},
        {"every attribute, in the engine's order", pages(7, [](FileItemPages& p) {
             p.origin = "C:\\a.txt";
             p.destination = "C:\\b.txt";
             p.preserve = false;
             p.normal = p.readOnly = p.system = p.hidden = p.archive = p.temporary = true;
         }),
         {"C:\\a.txt", "C:\\b.txt",
          "QV_LOCAL_CREATE_FILE | FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | "
          "FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY",
          ""}},
        {"Preserve keeps the boxes out", pages(0, [](FileItemPages& p) {
             p.origin = "C:\\a.txt";
             p.hidden = p.system = true;
         }),
         {"C:\\a.txt", "", "QV_CREATE_FILE", ""}},
        {"two-way folder: never delete, device wins, both lists", pages(15, [](FileItemPages& p) {
             p.origin = "C:\\ignored";
             p.folderOrigin = "C:\\docs";
             p.destination = "\\My Documents\\docs";
             p.neverDelete = true;
             p.conflict = kConflictDevice;
             p.inclusion = {"*.txt", "*.doc"};
             p.exclusion = {"~*"};
         }),
         {"C:\\docs", "\\My Documents\\docs",
          "QV_TWO_WAY_FOLDER_SYNC | QV_NEVER_DELETE_FILES_AND_FOLDERS | QV_CONFLICT_DEVICE_WINS | "
          "QV_INCLUSION_FILTER=*.txt:*.doc | QV_EXCLUSION_FILTER=~*",
          ""}},
        {"two-way file: workstation wins; manual writes no keyword", pages(14, [](FileItemPages& p) {
             p.origin = "C:\\a.txt";
             p.folderOrigin = "C:\\ignored";
             p.destination = "\\a.txt";
             p.conflict = kConflictWorkstation;
             p.inclusion = {"*.txt"};
         }),
         {"C:\\a.txt", "\\a.txt", "QV_TWO_WAY_FILE_SYNC | QV_CONFLICT_WORKSTATION_WINS", ""}},
        {"two-way options only for two-way choices", pages(4, [](FileItemPages& p) {
             p.folderOrigin = "C:\\docs";
             p.destination = "\\docs";
             p.neverDelete = true;
             p.conflict = kConflictDevice;
         }),
         {"C:\\docs", "\\docs", "QV_COPY_FOLDER_CONTENT | QV_INCLUSION_FILTER=*", ""}},
        {"a deletion writes no origin and no transfer", pages(1, [](FileItemPages& p) {
             p.origin = p.folderOrigin = "http://example.org/a.txt";
             p.destination = "\\a.txt";
             p.ascii = p.passive = true;
         }),
         {"", "\\a.txt", "QV_DELETE_FILE", ""}},
        {"a choice out of range writes a file copy", pages(99, [](FileItemPages& p) { p.origin = "C:\\a"; }),
         {"C:\\a", "", "QV_CREATE_FILE", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Store(c.pages), c.want);
    }
}

// Pages as a user may leave them, for every choice.
std::vector<FileItemPages> VariedPages() {
    std::vector<FileItemPages> all;
    const char* origins[] = {"C:\\data\\a.txt", "http://example.org/a.txt", "https://example.org/a.txt",
                             "ftp://example.org/a.txt", "\\Windows\\a.txt"};
    for (int index = 0; index < kWizardOperations; ++index) {
        for (int variant = 0; variant < 5; ++variant) {
            FileItemPages p;
            p.tableUrl = kTable;
            p.operation = index;
            p.origin = origins[variant];
            p.folderOrigin = variant % 2 ? "\\My Documents" : "C:\\data";
            p.destination = variant % 2 ? "C:\\out\\a.txt" : "%CE_PROGRAMFILES%\\a.txt";
            p.ascii = variant == 1;
            p.ignoreCache = variant != 2;
            p.dontCache = variant == 3;
            const DownloadOptionStates offered = DownloadOptionsFor(FakeKindOf(p.origin, kTable));
            p.secure = offered.http && variant >= 2;
            p.passive = offered.ftp && variant == 3;
            p.reuseConnection = offered.ftp && variant >= 3;
            p.preserve = variant == 0;
            p.normal = variant == 1;
            p.hidden = p.readOnly = variant == 2;
            p.archive = p.system = p.temporary = variant >= 3;
            p.inclusion = variant == 4 ? std::vector<std::string>{"*.txt", "Read Me*"} : std::vector<std::string>{"*"};
            p.exclusion = variant >= 3 ? std::vector<std::string>{"~*"} : std::vector<std::string>{};
            p.neverDelete = variant % 2;
            p.conflict = variant % 3;
            all.push_back(p);
        }
    }
    return all;
}

TEST(FileItemPagesTest, StoredTextsParseBackToWhatThePagesHeld) {
    for (const FileItemPages& p : VariedPages()) {
        const FileItemTexts stored = Store(p);
        SCOPED_TRACE(stored.fileAttributes + " / " + stored.downloadAttributes);
        const TransferAttributes parsed = ParseTransferAttributes(stored.fileAttributes, stored.downloadAttributes);
        EXPECT_EQ(parsed.operation, OperationOfIndex(p.operation));

        const uint32_t attributes = p.preserve ? 0
                                               : (p.archive ? 0x20 : 0) | (p.hidden ? 0x2 : 0) | (p.readOnly ? 0x1 : 0) |
                                                     (p.system ? 0x4 : 0) | (p.temporary ? 0x100 : 0) |
                                                     (p.normal ? 0x80 : 0);
        EXPECT_EQ(parsed.fileAttributes, attributes);

        uint32_t options = 0;
        if (HasOptionsPage(p.operation))
            options = (p.neverDelete ? kNeverDelete : 0) | (p.conflict == kConflictDevice ? kConflictDeviceWins : 0) |
                      (p.conflict == kConflictWorkstation ? kConflictWorkstationWins : 0);
        EXPECT_EQ(parsed.options, options);

        if (UsesFolderOriginAt(p.operation)) {
            EXPECT_EQ(parsed.inclusion, JoinFilterRows(p.inclusion));
            EXPECT_EQ(parsed.exclusion, JoinFilterRows(p.exclusion));
        } else {
            EXPECT_EQ(parsed.inclusion, "*");
            EXPECT_EQ(parsed.exclusion, "");
        }

        if (HasOriginAt(p.operation)) {
            EXPECT_EQ(stored.originUrl, UsesFolderOriginAt(p.operation) ? p.folderOrigin : p.origin);
            const uint32_t flags = (p.ascii ? 0x1 : 0x2) | (p.ignoreCache ? 0x80000000 : 0) |
                                   (p.dontCache ? 0x4000000 : 0) | (p.secure ? 0x800000 : 0) |
                                   (p.reuseConnection ? 0x20000000 : 0) | (p.passive ? 0x8000000 : 0);
            const UrlKind kind = FakeKindOf(stored.originUrl, kTable);
            // A file origin carries only the general choices.
            const uint32_t kept = kind == UrlKind::kFile ? 0x84000003 : 0xFFFFFFFF;
            EXPECT_EQ(parsed.transferFlags, flags & kept);
        } else {
            EXPECT_EQ(stored.originUrl, "");
            EXPECT_EQ(stored.downloadAttributes, "");
        }
        EXPECT_EQ(stored.dest, p.destination);
    }
}

TEST(FileItemPagesTest, AnItemOpenedAndFinishedUnchangedKeepsWhatItDoes) {
    std::vector<FileItemTexts> items;
    for (const FileItemPages& p : VariedPages()) items.push_back(Store(p));
    // Texts written by hand or by older tools.
    items.push_back({"docs", "\\docs", "qv_copy_folder_content | QV_EXCLUSION_FILTER=*.bak", ""});
    items.push_back({"C:\\a.txt", "\\a.txt", "QV_TWO_WAY_FILE_SYNC|QV_CONFLICT_DEVICE_WINS|QV_CONFLICT_RESOLVE_MANUALLY",
                     ""});
    items.push_back({"http://h/a", "\\a", "QV_CREATE_FILE", "INTERNET_FLAG_TRANSFER_BINARY | INTERNET_FLAG_RELOAD"});
    items.push_back({"\\Windows\\a", "C:\\a", "QV_CREATE_FILE_FROM_CE | FILE_ATTRIBUTE_HIDDEN", ""});
    for (const FileItemTexts& item : items) {
        SCOPED_TRACE(item.originUrl + " / " + item.fileAttributes + " / " + item.downloadAttributes);
        const FileItemTexts again = Store(Load(item));
        const TransferAttributes before = ParseTransferAttributes(item.fileAttributes, item.downloadAttributes);
        const TransferAttributes after = ParseTransferAttributes(again.fileAttributes, again.downloadAttributes);
        EXPECT_EQ(after.operation, before.operation);
        // The manual rule has no keyword of its own: no bit is the same rule.
        EXPECT_EQ(after.options, before.options & ~kConflictResolveManually);
        EXPECT_EQ(after.inclusion, before.inclusion);
        EXPECT_EQ(after.exclusion, before.exclusion);
        // A bare copy from the network comes back as a normal file.
        const bool download = IsNetworkKind(FakeKindOf(item.originUrl, kTable));
        EXPECT_EQ(after.fileAttributes, before.fileAttributes == 0 && download ? 0x80u : before.fileAttributes);
        EXPECT_EQ(again.dest, item.dest);
        if (HasOriginAt(IndexOfOperation(before.operation))) {
            EXPECT_EQ(again.originUrl, item.originUrl);
        }
        // Finished twice, the texts no longer change.
        EXPECT_EQ(Store(Load(again)), again);
    }
}

}  // namespace
}  // namespace vorlan::filesync
