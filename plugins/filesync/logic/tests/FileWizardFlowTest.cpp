#include "FileWizardFlow.h"

#include <gtest/gtest.h>

#include "FileWizardStrings.h"

namespace vorlan::filesync {
namespace {

using P = WizardPage;

TEST(FileWizardFlowTest, PagesAndLabelsOfEveryChoice) {
    const struct {
        P after;
        unsigned originLabel, folderLabel, destinationLabel;
        bool download, attributes, options, originOnDevice, destinationOnDevice, destinationFolder;
    } rows[kWizardOperations] = {
        /* 0 create file */ {P::kOrigin, 105, 106, 110, true, true, false, false, true, false},
        /* 1 delete file */ {P::kDestination, 105, 106, 109, false, false, false, false, true, false},
        /* 2 create folder */ {P::kDestination, 105, 106, 111, false, false, false, false, true, true},
        /* 3 delete folder */ {P::kDestination, 105, 106, 112, false, false, false, false, true, true},
        /* 4 copy folder */ {P::kFolder, 105, 106, 111, false, true, false, false, true, true},
        /* 5 folder from CE */ {P::kFolder, 105, 130, 131, false, true, false, true, false, true},
        /* 6 file from CE */ {P::kOrigin, 107, 106, 110, false, true, false, true, false, false},
        /* 7 local create file */ {P::kOrigin, 105, 106, 110, true, true, false, false, false, false},
        /* 8 local delete file */ {P::kDestination, 105, 106, 109, false, false, false, false, false, false},
        /* 9 local create folder */ {P::kDestination, 105, 106, 111, false, false, false, false, false, true},
        /* 10 local delete folder */ {P::kDestination, 105, 106, 112, false, false, false, false, false, true},
        /* 11 local copy folder */ {P::kFolder, 105, 106, 131, false, true, false, false, false, true},
        /* 12 CE folder to CE */ {P::kFolder, 105, 130, 131, false, true, false, true, true, true},
        /* 13 CE file to CE */ {P::kOrigin, 107, 106, 110, false, true, false, true, true, false},
        /* 14 two-way file */ {P::kOrigin, 128, 128, 127, false, true, true, false, true, false},
        /* 15 two-way folder */ {P::kFolder, 105, 135, 134, false, true, true, false, true, true},
    };
    for (int i = 0; i < kWizardOperations; ++i) {
        SCOPED_TRACE(i);
        const auto& r = rows[i];
        EXPECT_EQ(PageAfterOperation(i), r.after);
        EXPECT_EQ(OriginLabel(i), r.originLabel);
        EXPECT_EQ(FolderLabel(i), r.folderLabel);
        EXPECT_EQ(DestinationLabel(i), r.destinationLabel);
        EXPECT_EQ(ShowsDownloadOptions(i), r.download);
        EXPECT_EQ(ShowsAttributes(i), r.attributes);
        EXPECT_EQ(HasOptionsPage(i), r.options);
        EXPECT_EQ(OriginOnDeviceAt(i), r.originOnDevice);
        EXPECT_EQ(DestinationOnDeviceAt(i), r.destinationOnDevice);
        EXPECT_EQ(DestinationIsFolderAt(i), r.destinationFolder);
        EXPECT_EQ(HasOriginAt(i), r.after != P::kDestination);
        EXPECT_EQ(UsesFolderOriginAt(i), r.after == P::kFolder);
    }
    EXPECT_EQ(OriginCompletionAt(0), OriginCompletion::kShellDefault);
    EXPECT_EQ(OriginCompletionAt(7), OriginCompletion::kShellDefault);
    EXPECT_EQ(OriginCompletionAt(14), OriginCompletion::kFileSystem);
    EXPECT_EQ(OriginCompletionAt(6), OriginCompletion::kNone);
}

TEST(FileWizardFlowTest, DownloadOptionsFollowTheOriginsKind) {
    const struct {
        UrlKind kind;
        DownloadOptionStates want;
        bool preserveAt0;
    } cases[] = {
        {UrlKind::kFtp, {true, true, false, false, true, false, false}, false},
        {UrlKind::kHttp, {true, false, true, true, false, true, false}, false},
        {UrlKind::kHttps, {true, false, true, true, false, true, true}, false},
        {UrlKind::kFile, {false, false, false, true, true, false, false}, true},
        {UrlKind::kNone, {true, true, true, false, false, false, false}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        const DownloadOptionStates got = DownloadOptionsFor(c.kind);
        EXPECT_EQ(got.general, c.want.general);
        EXPECT_EQ(got.ftp, c.want.ftp);
        EXPECT_EQ(got.http, c.want.http);
        EXPECT_EQ(got.clearFtp, c.want.clearFtp);
        EXPECT_EQ(got.clearHttp, c.want.clearHttp);
        EXPECT_EQ(got.setSecure, c.want.setSecure);
        EXPECT_EQ(got.secure, c.want.secure);
        EXPECT_EQ(PreserveAllowed(0, c.kind), c.preserveAt0);
        EXPECT_EQ(PreserveAllowed(7, c.kind), c.preserveAt0);
        // Only a copy from the network loses "Preserve".
        EXPECT_TRUE(PreserveAllowed(4, c.kind));
    }
}

UrlKind Kind(const std::string& text, const std::string& base) {
    auto kindAlone = [](const std::string& t) {
        if (t.rfind("http://", 0) == 0) return UrlKind::kHttp;
        if (t.rfind("ftp://", 0) == 0) return UrlKind::kFtp;
        if (t.rfind("file:", 0) == 0 || t.rfind("\\\\", 0) == 0 || (t.size() > 2 && t[1] == ':'))
            return UrlKind::kFile;
        return UrlKind::kNone;
    };
    const UrlKind alone = kindAlone(text);
    return alone != UrlKind::kNone || base.empty() ? alone : kindAlone(base);
}

TEST(FileWizardFlowTest, TextsAreJudgedOnTheirSide) {
    const std::string fileTable = "file:///C:/p/t.xml";
    const std::string webTable = "http://example.org/t.xml";
    const struct {
        const char* name;
        bool (*check)(int, const std::string&, const std::string&, const UrlKindOf&);
        int index;
        const char* text;
        std::string table;
        bool good;
    } cases[] = {
        {"URL origin", &IsGoodOrigin, 0, "http://example.org/a.txt", fileTable, true},
        {"FTP origin", &IsGoodOrigin, 7, "ftp://example.org/a.txt", "", true},
        {"relative origin under a file table", &IsGoodOrigin, 0, "a.txt", fileTable, true},
        {"relative origin under a web table", &IsGoodOrigin, 0, "a.txt", webTable, true},
        {"relative origin without a table", &IsGoodOrigin, 0, "a.txt", "", false},
        {"empty origin", &IsGoodOrigin, 0, "", fileTable, false},
        {"device origin", &IsGoodOrigin, 6, "\\Windows\\a.txt", fileTable, true},
        {"device origin without a table", &IsGoodOrigin, 13, "\\Windows\\a.txt", "", true},
        {"desktop path as device origin", &IsGoodOrigin, 6, "C:\\a.txt", fileTable, false},
        {"URL as device origin", &IsGoodOrigin, 13, "http://example.org/a", fileTable, false},
        {"empty device origin", &IsGoodOrigin, 6, "", fileTable, false},
        {"two-way file: a workstation file", &IsGoodOrigin, 14, "C:\\a.txt", "", true},
        {"two-way file: no URL", &IsGoodOrigin, 14, "http://example.org/a", fileTable, false},
        {"two-way file: relative under a web table", &IsGoodOrigin, 14, "a.txt", webTable, false},
        {"workstation folder", &IsGoodFolderOrigin, 4, "C:\\docs", "", true},
        {"relative workstation folder", &IsGoodFolderOrigin, 11, "docs", fileTable, true},
        {"workstation folder on the web", &IsGoodFolderOrigin, 15, "http://example.org/docs", fileTable, false},
        {"device folder", &IsGoodFolderOrigin, 5, "\\My Documents", "", true},
        {"desktop folder as device folder", &IsGoodFolderOrigin, 12, "\\\\server\\share", fileTable, false},
        {"empty folder", &IsGoodFolderOrigin, 4, "", fileTable, false},
        {"device destination", &IsGoodDestination, 0, "%CE_PROGRAMFILES%\\a.txt", "", true},
        {"desktop path as device destination", &IsGoodDestination, 1, "C:\\a.txt", fileTable, false},
        {"URL as device destination", &IsGoodDestination, 15, "file:///C:/a", fileTable, false},
        {"workstation destination", &IsGoodDestination, 7, "C:\\out\\a.txt", "", true},
        {"relative workstation destination", &IsGoodDestination, 11, "out", fileTable, true},
        {"workstation destination on the web", &IsGoodDestination, 8, "http://example.org/a", fileTable, false},
        {"relative workstation destination under a web table", &IsGoodDestination, 6, "a.txt", webTable, false},
        {"empty destination", &IsGoodDestination, 2, "", fileTable, false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.check(c.index, c.text, c.table, &Kind), c.good) << c.name;
}

}  // namespace
}  // namespace vorlan::filesync
