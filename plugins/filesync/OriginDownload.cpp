#include "OriginDownload.h"

#include <wininet.h>

#include <cstdlib>
#include <utility>

#include "FileItem.h"
#include "UrlParse.h"

namespace vorlan::filesync {
namespace {

class InternetHandle {
public:
    explicit InternetHandle(HINTERNET h = nullptr) : h_(h) {}
    ~InternetHandle() { Close(); }
    void Close() {
        if (h_) InternetCloseHandle(std::exchange(h_, nullptr));
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET Get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HINTERNET h_;
};

// One session per download or query: no agent name, the configured access.
HINTERNET OpenSession() { return InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0); }

bool IsNetworkKind(DWORD service) {
    return service == kUrlServiceHttp || service == kUrlServiceHttps || service == kUrlServiceFtp;
}

// Flags of a connection: WinInet's request flags minus the transfer mode.
DWORD RequestFlags(DWORD transferFlags) {
    return transferFlags & ~(INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_TRANSFER_BINARY);
}

bool HttpStatusIsSuccess(HINTERNET request) {
    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return false;
    return status >= 200 && status < 300;
}

bool HttpTime(HINTERNET request, DWORD query, FILETIME& time) {
    SYSTEMTIME st;
    DWORD size = sizeof st;
    return HttpQueryInfoA(request, query | HTTP_QUERY_FLAG_SYSTEMTIME, &st, &size, nullptr) &&
           SystemTimeToFileTime(&st, &time);
}

bool HttpLength(HINTERNET request, unsigned long long& length) {
    char text[32] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return false;
    char* end = nullptr;
    length = std::strtoull(text, &end, 10);
    return end != text;
}

INTERNET_PORT PortOf(const UrlParts& parts) {
    if (parts.port) return parts.port;
    switch (parts.serviceType) {
        case kUrlServiceFtp: return INTERNET_DEFAULT_FTP_PORT;
        case kUrlServiceHttps: return INTERNET_DEFAULT_HTTPS_PORT;
        default: return INTERNET_DEFAULT_HTTP_PORT;
    }
}

HINTERNET Connect(HINTERNET session, const UrlParts& parts, DWORD service, DWORD flags) {
    return InternetConnectA(session, parts.server.c_str(), PortOf(parts),
                            parts.user.empty() ? nullptr : parts.user.c_str(),
                            parts.password.empty() ? nullptr : parts.password.c_str(), service, flags, 1);
}

void HttpInfo(HINTERNET session, const UrlParts& parts, DWORD transferFlags, RemoteFileInfo& info) {
    InternetHandle connection(Connect(session, parts, INTERNET_SERVICE_HTTP, 0));
    if (!connection) return;
    DWORD flags = RequestFlags(transferFlags);
    if (parts.serviceType == kUrlServiceHttps) flags |= INTERNET_FLAG_SECURE;
    InternetHandle request(HttpOpenRequestA(connection.Get(), "HEAD", parts.object.empty() ? "/" : parts.object.c_str(),
                                            nullptr, nullptr, nullptr, flags, 1));
    if (!request || !HttpSendRequestA(request.Get(), nullptr, 0, nullptr, 0)) return;
    if (!HttpStatusIsSuccess(request.Get())) return;
    info.hasTime = HttpTime(request.Get(), HTTP_QUERY_LAST_MODIFIED, info.lastWrite) ||
                   HttpTime(request.Get(), HTTP_QUERY_DATE, info.lastWrite);
    info.hasSize = HttpLength(request.Get(), info.size);
}

void FtpInfo(HINTERNET session, const UrlParts& parts, DWORD transferFlags, RemoteFileInfo& info) {
    InternetHandle connection(Connect(session, parts, INTERNET_SERVICE_FTP, transferFlags & INTERNET_FLAG_PASSIVE));
    if (!connection) return;
    WIN32_FIND_DATAA found = {};
    InternetHandle find(FtpFindFirstFileA(connection.Get(), parts.object.c_str(), &found,
                                          RequestFlags(transferFlags), 1));
    if (!find || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    info.hasTime = true;
    info.lastWrite = found.ftLastWriteTime;
    info.hasSize = true;
    info.size = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

// Whole seconds, as the servers give them.
FILETIME WholeSeconds(FILETIME time) {
    ULARGE_INTEGER value = {{time.dwLowDateTime, time.dwHighDateTime}};
    value.QuadPart -= value.QuadPart % 10000000ULL;
    return {value.LowPart, value.HighPart};
}

}  // namespace

RemoteFileInfo GetRemoteFileInfo(const std::string& url, DWORD transferFlags) {
    RemoteFileInfo info;
    UrlParts parts;
    if (!ParseUrl(url, parts) || !IsNetworkKind(parts.serviceType)) return info;
    InternetHandle session(OpenSession());
    if (!session) return info;
    if (parts.serviceType == kUrlServiceFtp)
        FtpInfo(session.Get(), parts, transferFlags, info);
    else
        HttpInfo(session.Get(), parts, transferFlags, info);
    if (info.hasTime) info.lastWrite = WholeSeconds(info.lastWrite);
    return info;
}

long long DownloadUrl(const std::string& url, std::string& bytes, DWORD transferFlags,
                      const unsigned long long* expectedSize) {
    if (!bytes.empty()) return kDownloadBusy;
    UrlParts parts;
    if (!ParseUrl(url, parts) || !IsNetworkKind(parts.serviceType)) return kDownloadNotAUrl;
    InternetHandle session(OpenSession());
    if (!session) return kDownloadNotOpened;
    InternetHandle file(InternetOpenUrlA(session.Get(), url.c_str(), nullptr, 0, transferFlags, 1));
    if (!file) return kDownloadNotOpened;

    unsigned long long announced = 0;
    bool hasAnnounced = false;
    if (parts.serviceType != kUrlServiceFtp) {
        if (!HttpStatusIsSuccess(file.Get())) return kDownloadNotOpened;
        hasAnnounced = HttpLength(file.Get(), announced);
    }
    if (expectedSize) {
        announced = *expectedSize;
        hasAnnounced = true;
    }

    std::string read;
    char block[1024];
    for (;;) {
        DWORD got = 0;
        if (!InternetReadFile(file.Get(), block, sizeof block, &got)) return kDownloadInterrupted;
        if (got == 0) break;
        read.append(block, got);
    }
    if (parts.serviceType == kUrlServiceFtp) {
        // The server's last word on the transfer comes with the close; the
        // reads end alike whether the file ended or the transfer broke off.
        file.Close();
        char reply[256] = {};
        DWORD error = 0, size = sizeof reply;
        if (InternetGetLastResponseInfoA(&error, reply, &size) && (reply[0] == '4' || reply[0] == '5'))
            return kDownloadInterrupted;
    }
    if (hasAnnounced && read.size() != announced) return kDownloadInterrupted;
    bytes = std::move(read);
    return static_cast<long long>(bytes.size());
}

}  // namespace vorlan::filesync
