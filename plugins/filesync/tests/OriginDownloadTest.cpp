// Origins on HTTP and FTP servers of the test's own (origin-servers.py),
// each request of which the test reads back from the servers' log.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "FileSyncFixture.h"
#include "OriginDownload.h"
#include "VorlanMessages.h"

namespace vorlan::filesync::testing {
namespace {

using vorlan::testing::ReadFileBytes;
using vorlan::testing::WindowsPath;
using vorlan::testing::WriteFileBytes;

constexpr ULONGLONG kYear2021 = 132539328000000000ULL;  // 2021-01-01 UTC
constexpr ULONGLONG kSecond = 10000000ULL;

class OriginDownloadTest : public FileSyncSuite {
protected:
    void SetUp() override {
        FileSyncSuite::SetUp();
        std::ifstream ports(WindowsPath(ORIGIN_SERVERS "/ports"));
        std::string kind;
        int port = 0;
        while (ports >> kind >> port) (kind == "http" ? http_ : kind == "ftp" ? ftp_ : other_) = port;
        ASSERT_NE(http_, 0) << "the origin servers are not running";
        ASSERT_NE(ftp_, 0);
        logStart_ = ReadFileBytes(Log()).size();
    }

    static std::string Log() { return WindowsPath(ORIGIN_SERVERS "/requests.log"); }
    // Requests since the test began (or since the last call), one per line.
    std::vector<std::string> Requests() {
        const std::string all = ReadFileBytes(Log());
        std::istringstream in(all.substr(logStart_));
        logStart_ = all.size();
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    static size_t Count(const std::vector<std::string>& lines, const std::string& prefix) {
        size_t n = 0;
        for (const auto& line : lines) n += line.rfind(prefix, 0) == 0;
        return n;
    }
    // A file the servers serve: "pub/name" to anyone, "alice/name" to alice.
    static void Serve(const std::string& name, const std::string& bytes, ULONGLONG lastWrite) {
        const std::string path = WindowsPath(ORIGIN_SERVERS "/root/" + name);
        WriteFileBytes(path, bytes);
        HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        FILETIME t = {static_cast<DWORD>(lastWrite), static_cast<DWORD>(lastWrite >> 32)};
        SetFileTime(h, nullptr, nullptr, &t);
        CloseHandle(h);
    }
    std::string HttpUrl(const std::string& name) const {
        return "http://127.0.0.1:" + std::to_string(http_) + "/" + name;
    }
    std::string FtpUrl(const std::string& name, const std::string& user = {}) const {
        return "ftp://" + user + "127.0.0.1:" + std::to_string(ftp_) + "/" + name;
    }
    ULONGLONG DeviceLastWrite(const std::wstring& path) const {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExW(device->HostPath(path).c_str(), GetFileExInfoStandard, &data);
        return (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    }

    int http_ = 0, ftp_ = 0, other_ = 0;
    size_t logStart_ = 0;
};

TEST_F(OriginDownloadTest, HttpOriginIsDownloadedOnceUntilItChanges) {
    Serve("pub/page.txt", "page one", kYear2021);
    auto engine = Engine();
    EXPECT_EQ(Run(*engine, HttpUrl("page.txt"), "\\page.txt", ""), S_OK);
    EXPECT_EQ(DeviceBytes(L"\\page.txt"), "page one");
    EXPECT_EQ(DeviceLastWrite(L"\\page.txt"), kYear2021) << "the destination carries the server's time";
    EXPECT_EQ(Requests(), (std::vector<std::string>{"http HEAD /page.txt", "http GET /page.txt"}));

    EXPECT_EQ(Run(*engine, HttpUrl("page.txt"), "\\page.txt", ""), S_OK);
    EXPECT_EQ(Requests(), (std::vector<std::string>{"http HEAD /page.txt"})) << "unchanged: not downloaded";
    EXPECT_EQ(engine->Counts().unchanged, 1u);

    Serve("pub/page.txt", "page two", kYear2021 + 3600 * kSecond);
    EXPECT_EQ(Run(*engine, HttpUrl("page.txt"), "\\page.txt", ""), S_OK);
    EXPECT_EQ(DeviceBytes(L"\\page.txt"), "page two");
    EXPECT_EQ(Count(Requests(), "http GET"), 1u);

    // To the workstation as well.
    EXPECT_EQ(Run(*engine, HttpUrl("page.txt"), "page.txt", "QV_LOCAL_CREATE_FILE"), S_OK);
    EXPECT_EQ(ReadFileBytes(Local("page.txt")), "page two");
    EXPECT_TRUE(Events().empty());
}

TEST_F(OriginDownloadTest, WithoutAnyTimeTheOriginIsDownloadedEveryRunAndStampedNow) {
    Serve("pub/nodate.txt", "no time", kYear2021);
    auto engine = Engine();
    FILETIME before;
    GetSystemTimeAsFileTime(&before);
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(Run(*engine, HttpUrl("nodate.txt"), "\\nodate.txt", ""), S_OK);
        EXPECT_EQ(Count(Requests(), "http GET /nodate.txt"), 1u) << "run " << run;
    }
    EXPECT_EQ(DeviceBytes(L"\\nodate.txt"), "no time");
    const ULONGLONG now = (ULONGLONG{before.dwHighDateTime} << 32) | before.dwLowDateTime;
    EXPECT_GE(DeviceLastWrite(L"\\nodate.txt") + 2 * kSecond, now) << "the time of the copy, not an invented one";
}

TEST_F(OriginDownloadTest, FailedDownloadsLeaveTheDestinationAsItWas) {
    Serve("pub/short.txt", "cut short", kYear2021);
    Serve("pub/broken.bin", std::string(20000, 'b'), kYear2021);
    auto engine = Engine();
    const struct {
        std::string origin;
        HRESULT result;
        uint32_t event;
    } cases[] = {
        {HttpUrl("missing.txt"), E_FAIL, EVT_CANNOT_OPEN},
        {HttpUrl("short.txt"), E_FAIL, EVT_DOWNLOAD_INTERRUPTED},
        {FtpUrl("broken.bin"), E_FAIL, EVT_DOWNLOAD_INTERRUPTED},
        {FtpUrl("missing.bin"), E_FAIL, EVT_CANNOT_OPEN},
        {"http://127.0.0.1:1/refused.txt", E_FAIL, EVT_CANNOT_OPEN},
        {"gopher://127.0.0.1/x", E_INVALIDARG, EVT_NOT_A_URL},
    };
    for (const auto& c : cases) {
        PutDeviceFile(L"\\keep.txt", "old content");
        FileSyncSuite::SetUp();
        EXPECT_EQ(Run(*engine, c.origin, "\\keep.txt", ""), c.result) << c.origin;
        ExpectOneEvent(c.event, c.origin);
        EXPECT_TRUE(DeviceBytes(L"\\keep.txt") == "old content") << c.origin;
    }
    // Also to the workstation.
    WriteFileBytes(Local("keep.txt"), "old content");
    EXPECT_EQ(Run(*engine, FtpUrl("broken.bin"), "keep.txt", "QV_LOCAL_CREATE_FILE"), E_FAIL);
    EXPECT_TRUE(ReadFileBytes(Local("keep.txt")) == "old content");
}

TEST_F(OriginDownloadTest, FtpOriginsActivePassiveAnonymousAndWithUser) {
    Serve("pub/anon.txt", "anonymous file", kYear2021);
    Serve("alice/private.txt", "alice's file", kYear2021);
    auto engine = Engine();
    const struct {
        std::string url;
        const char* flags;
        const char* mode;  // the data connection the requests must show
        std::wstring destination;
        const char* bytes;
    } cases[] = {
        {FtpUrl("anon.txt"), "", "PORT", L"\\ftp-active.txt", "anonymous file"},
        {FtpUrl("anon.txt"), "INTERNET_FLAG_PASSIVE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_TRANSFER_BINARY", "PASV",
         L"\\ftp-passive.txt", "anonymous file"},
        {FtpUrl("private.txt", "alice:secret@"), "", "PORT", L"\\ftp-user-active.txt", "alice's file"},
        {FtpUrl("private.txt", "alice:secret@"), "INTERNET_FLAG_PASSIVE | INTERNET_FLAG_TRANSFER_BINARY", "PASV",
         L"\\ftp-user-passive.txt", "alice's file"},
    };
    for (const auto& c : cases) {
        const std::string where = c.url + " " + c.flags;
        Requests();
        EXPECT_EQ(Run(*engine, c.url, com::AnsiFromWide(c.destination), "", c.flags), S_OK) << where;
        EXPECT_EQ(DeviceBytes(c.destination), c.bytes) << where;
        auto requests = Requests();
        EXPECT_EQ(Count(requests, "ftp RETR"), 1u) << where;
        EXPECT_GE(Count(requests, "ftp LIST"), 1u) << where << ": the time is asked first";
        EXPECT_GE(Count(requests, std::string("ftp ") + c.mode), 2u) << where << ": listing and transfer alike";
        EXPECT_EQ(Count(requests, std::string("ftp ") + (c.mode[0] == 'P' && c.mode[1] == 'O' ? "PASV" : "PORT")), 0u)
            << where;
        if (c.url.find("alice") != std::string::npos) {
            EXPECT_EQ(Count(requests, "ftp USER alice"), 2u) << where << ": the listing logs in as alice too";
        }

        // The time is known, so the next run does not fetch it again.
        EXPECT_EQ(Run(*engine, c.url, com::AnsiFromWide(c.destination), "", c.flags), S_OK) << where;
        requests = Requests();
        EXPECT_EQ(Count(requests, "ftp RETR"), 0u) << where;
    }
    EXPECT_TRUE(Events().empty());
}

TEST_F(OriginDownloadTest, DownloadCodes) {
    Serve("pub/empty.txt", "", kYear2021);
    std::string bytes;
    EXPECT_EQ(DownloadUrl(HttpUrl("empty.txt"), bytes, kDefaultTransferFlags), 0) << "an empty file is size 0";
    EXPECT_EQ(DownloadUrl("gopher://127.0.0.1/x", bytes, kDefaultTransferFlags), kDownloadNotAUrl);
    EXPECT_EQ(DownloadUrl("not a url", bytes, kDefaultTransferFlags), kDownloadNotAUrl);
    bytes = "held";
    EXPECT_EQ(DownloadUrl(HttpUrl("empty.txt"), bytes, kDefaultTransferFlags), kDownloadBusy);
    EXPECT_EQ(bytes, "held");
    // A broken FTP transfer is found without the listing's size as well.
    Serve("pub/broken.bin", std::string(20000, 'b'), kYear2021);
    bytes.clear();
    EXPECT_EQ(DownloadUrl(FtpUrl("broken.bin"), bytes, kDefaultTransferFlags), kDownloadInterrupted);
    EXPECT_TRUE(bytes.empty());
    Serve("pub/whole.bin", std::string(20000, 'w'), kYear2021);
    EXPECT_EQ(DownloadUrl(FtpUrl("whole.bin"), bytes, kDefaultTransferFlags), 20000);
    bytes.clear();
    const RemoteFileInfo missing = GetRemoteFileInfo(FtpUrl("missing.bin"), kDefaultTransferFlags);
    EXPECT_FALSE(missing.hasTime);
    const RemoteFileInfo error = GetRemoteFileInfo(HttpUrl("missing.txt"), kDefaultTransferFlags);
    EXPECT_FALSE(error.hasTime) << "an error page has no time of the file";

    // An empty remote file writes an empty destination.
    auto engine = Engine();
    EXPECT_EQ(Run(*engine, HttpUrl("empty.txt"), "\\empty.txt", ""), S_OK);
    EXPECT_TRUE(DeviceExists(L"\\empty.txt"));
    EXPECT_EQ(DeviceBytes(L"\\empty.txt"), "");
}

}  // namespace
}  // namespace vorlan::filesync::testing
