#pragma once
// A URL taken apart: its service (the scheme, by the values the editor and
// the plug-ins compare with) and its parts. Absolute local paths count as
// file URLs.
#include <windows.h>
#include <wininet.h>

#include <string>
#include <string_view>

namespace vorlan {

enum UrlService : DWORD {
    kUrlServiceNone = 0,
    kUrlServiceFtp = 1,
    kUrlServiceGopher = 2,
    kUrlServiceHttp = 3,
    kUrlServiceUnknown = 0x1000,
    kUrlServiceFile = 0x1001,
    kUrlServiceMailto = 0x1003,
    kUrlServiceNews = 0x1006,
    kUrlServiceHttps = 0x100B,
};

struct UrlParts {
    DWORD serviceType = kUrlServiceNone;
    std::string server;
    // The path with query and fragment for network URLs; for the file kind
    // the local path, escapes still in place (UnescapeUrl undoes them).
    std::string object;
    std::string user;
    std::string password;
    INTERNET_PORT port = 0;
};

// False when the text is no absolute URL or local path. Drive paths,
// UNC paths and "file:" URLs are taken apart here, so their text survives
// in any code page; other URLs are canonicalised without re-encoding and
// cracked by WinInet (schemes it does not know give kUrlServiceUnknown).
bool ParseUrl(std::string_view url, UrlParts& parts);

}  // namespace vorlan
