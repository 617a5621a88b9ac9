#pragma once
// Table addresses: whether a text is a URL, combining a relative address
// with its parent's, the kind of a URL and the local path of a file URL.
// Absolute drive and UNC paths are file URLs throughout and are never
// combined with a base. Environment variables are expanded first (1024
// characters; a text that does not fit fails rather than being cut).
// Escaping: UrlEscape.h.
#include <windows.h>

#include <string>

#include "UrlEscape.h"
#include "UrlParse.h"

namespace vorlan {

// TRUE for a file, HTTP, HTTPS or FTP URL, or an absolute local path.
BOOL IsUrl(const char* text);

// out = relative resolved against base. A relative that is absolute (a URL
// with a scheme, a drive or UNC path) is returned as written; a base that is
// a local path is taken as its file URL, so the result is a file URL.
// E_FAIL for a null argument or an expansion that does not fit; else the
// combination's own result.
HRESULT CombineUrl(const char* relative, const char* base, std::string* out);

// kUrlServiceFile, kUrlServiceHttp, kUrlServiceHttps or kUrlServiceFtp; 0
// for anything else, or when the combination with base (when not null)
// fails.
DWORD GetUrlServiceType(const char* url, const char* base = nullptr);

// The local path of a file URL, escapes undone ("file:///C:/p/a%20b.xml"
// gives "C:\p\a b.xml"), or an absolute local path as it is. E_INVALIDARG
// for anything else.
HRESULT UrlToLocalPath(const char* url, std::string& path);

// The local path that relative names against a file base: whole, or only
// its drive and folder (with the closing backslash). E_FAIL for a null
// argument, E_INVALIDARG for a base of another kind; else the failure of
// CombineUrl or UrlToLocalPath.
HRESULT GetCombinedLocalPath(const char* relative, const char* base, std::string* out, BOOL wholePath);

}  // namespace vorlan
