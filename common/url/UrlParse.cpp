#include "UrlParse.h"

#include <vector>

#include "Bstr.h"
#include "FileUrl.h"

namespace vorlan {
namespace {

DWORD ServiceOf(INTERNET_SCHEME scheme) {
    switch (scheme) {
    case INTERNET_SCHEME_FTP: return kUrlServiceFtp;
    case INTERNET_SCHEME_GOPHER: return kUrlServiceGopher;
    case INTERNET_SCHEME_HTTP: return kUrlServiceHttp;
    case INTERNET_SCHEME_HTTPS: return kUrlServiceHttps;
    case INTERNET_SCHEME_FILE: return kUrlServiceFile;
    case INTERNET_SCHEME_MAILTO: return kUrlServiceMailto;
    case INTERNET_SCHEME_NEWS: return kUrlServiceNews;
    default: return kUrlServiceUnknown;
    }
}

bool ParseLocal(std::string_view url, UrlParts& parts) {
    parts = {};
    parts.serviceType = kUrlServiceFile;
    parts.object = IsFileUrl(url) ? LocalPathFromFileUrl(url) : std::string(url);
    if (IsUncPath(parts.object)) {
        std::string_view unc(parts.object);
        parts.server = unc.substr(2, unc.find('\\', 2) - 2);
    }
    return true;
}

// The wide functions: the ANSI ones of WinInet lose text outside Latin-1.
bool ParseNetwork(std::string_view url, UrlParts& parts) {
    const std::wstring wide = com::WideFromAnsi(url);
    DWORD size = static_cast<DWORD>(wide.size()) * 3 + 64;
    std::vector<wchar_t> canonical(size);
    if (!InternetCanonicalizeUrlW(wide.c_str(), canonical.data(), &size, ICU_NO_ENCODE)) return false;

    URL_COMPONENTSW c = {};
    c.dwStructSize = sizeof c;
    c.dwSchemeLength = c.dwHostNameLength = c.dwUserNameLength = c.dwPasswordLength = c.dwUrlPathLength =
        c.dwExtraInfoLength = 1;  // non-zero: point into the text
    if (!InternetCrackUrlW(canonical.data(), size, 0, &c)) return false;
    auto part = [](const wchar_t* at, DWORD length) {
        return at ? com::AnsiFromWide(std::wstring_view(at, length)) : std::string();
    };
    parts = {};
    parts.serviceType = ServiceOf(c.nScheme);
    parts.server = part(c.lpszHostName, c.dwHostNameLength);
    parts.object = part(c.lpszUrlPath, c.dwUrlPathLength) + part(c.lpszExtraInfo, c.dwExtraInfoLength);
    parts.user = part(c.lpszUserName, c.dwUserNameLength);
    parts.password = part(c.lpszPassword, c.dwPasswordLength);
    parts.port = c.nPort;
    return true;
}

}  // namespace

bool ParseUrl(std::string_view url, UrlParts& parts) {
    if (IsAbsoluteLocalPath(url) || IsFileUrl(url)) return ParseLocal(url, parts);
    if (!HasUrlScheme(url)) return false;
    return ParseNetwork(url, parts);
}

}  // namespace vorlan
