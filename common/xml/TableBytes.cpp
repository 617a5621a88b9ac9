#include "TableBytes.h"

#include <wininet.h>

#include <atomic>

#include "Bstr.h"
#include "FileUrl.h"
#include "UrlEscape.h"
#include "UrlParse.h"

namespace vorlan {
namespace {

std::atomic<DWORD> timeLimit{kDefaultTableTimeLimitMs};

class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
    ~InternetHandle() {
        if (handle_) InternetCloseHandle(handle_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET Get() const { return handle_; }

private:
    HINTERNET handle_;
};

HRESULT ReadFileBytes(const std::string& path, std::vector<char>& bytes) {
    HANDLE file = CreateFileW(com::WideFromAnsi(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return S_FALSE;
    HRESULT hr = S_OK;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF) {
        hr = S_FALSE;
    } else {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        for (size_t done = 0; done < bytes.size() && hr == S_OK;) {
            DWORD read = 0;
            if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr) ||
                read == 0)
                hr = S_FALSE;
            done += read;
        }
    }
    CloseHandle(file);
    if (hr != S_OK) bytes.clear();
    return hr;
}

DWORD QueryNumber(HINTERNET request, DWORD query) {
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD index = 0;
    if (!HttpQueryInfoA(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, &index)) return 0;
    return value;
}

// Wine takes the time limits only on connection and request handles.
void SetTimeLimits(HINTERNET handle) {
    DWORD limit = TableTimeLimit();
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionA(handle, option, &limit, sizeof limit);
}

constexpr DWORD kFetchFlags =
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_PRAGMA_NOCACHE;

HRESULT ReadAnswer(HINTERNET request, DWORD expected, std::vector<char>& bytes) {
    char buffer[16384];
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request, buffer, sizeof buffer, &read)) return S_FALSE;
        if (read == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + read);
    }
    // Fewer bytes than announced: the connection closed part-way.
    return expected != 0 && bytes.size() < expected ? S_FALSE : S_OK;
}

HRESULT FetchHttp(HINTERNET session, const UrlParts& url, DWORD service, std::vector<char>& bytes) {
    InternetHandle connection(InternetConnectA(session, url.server.c_str(), url.port,
                                               url.user.empty() ? nullptr : url.user.c_str(),
                                               url.password.empty() ? nullptr : url.password.c_str(),
                                               INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection.Get()) return S_FALSE;
    SetTimeLimits(connection.Get());
    const std::string object = url.object.empty() ? "/" : url.object;
    const DWORD flags = kFetchFlags | (service == kUrlServiceHttps ? INTERNET_FLAG_SECURE : 0);
    InternetHandle request(
        HttpOpenRequestA(connection.Get(), "GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    if (!request.Get()) return S_FALSE;
    SetTimeLimits(request.Get());
    if (!HttpSendRequestA(request.Get(), nullptr, 0, nullptr, 0)) return S_FALSE;  // none in time
    const DWORD status = QueryNumber(request.Get(), HTTP_QUERY_STATUS_CODE);
    if (status < 200 || status > 299) return S_FALSE;
    return ReadAnswer(request.Get(), QueryNumber(request.Get(), HTTP_QUERY_CONTENT_LENGTH), bytes);
}

HRESULT FetchBytes(const std::string& source, const UrlParts& url, std::vector<char>& bytes) {
    InternetHandle session(InternetOpenA("Vorlan", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session.Get()) return HRESULT_FROM_WIN32(GetLastError());
    SetTimeLimits(session.Get());
    HRESULT hr = S_FALSE;
    if (url.serviceType == kUrlServiceHttp || url.serviceType == kUrlServiceHttps) {
        hr = FetchHttp(session.Get(), url, url.serviceType, bytes);
    } else {
        InternetHandle request(InternetOpenUrlA(session.Get(), source.c_str(), nullptr, 0, kFetchFlags, 0));
        if (request.Get()) hr = ReadAnswer(request.Get(), 0, bytes);
    }
    if (hr != S_OK) bytes.clear();
    return hr;
}

}  // namespace

DWORD TableTimeLimit() { return timeLimit; }
void SetTableTimeLimit(DWORD milliseconds) { timeLimit = milliseconds; }

bool IsReadableTableSource(const std::string& source) {
    if (IsAbsoluteLocalPath(source)) return true;
    UrlParts parts;
    if (!ParseUrl(source, parts)) return false;
    switch (parts.serviceType) {
    case kUrlServiceFile:
    case kUrlServiceHttp:
    case kUrlServiceHttps:
    case kUrlServiceFtp:
        return true;
    default:
        return false;
    }
}

HRESULT ReadTableBytes(const std::string& source, std::vector<char>& bytes) {
    bytes.clear();
    if (IsAbsoluteLocalPath(source)) return ReadFileBytes(source, bytes);
    UrlParts parts;
    if (!ParseUrl(source, parts)) return S_FALSE;
    if (parts.serviceType == kUrlServiceFile) {
        UnescapeUrl(parts.object);
        return ReadFileBytes(parts.object, bytes);
    }
    return FetchBytes(source, parts, bytes);
}

}  // namespace vorlan
