#include "ExpandEnvironment.h"
#include "FileUrl.h"
#include "Url.h"

namespace vorlan {
namespace {

bool IsSystemService(DWORD service) {
    return service == kUrlServiceFile || service == kUrlServiceHttp || service == kUrlServiceHttps ||
           service == kUrlServiceFtp;
}

// Everything after the last backslash or slash goes; "C:" stays of a
// drive-relative name.
std::string FolderOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    if (cut != std::string::npos) return path.substr(0, cut + 1);
    return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}

}  // namespace

BOOL IsUrl(const char* text) { return GetUrlServiceType(text) != kUrlServiceNone; }

DWORD GetUrlServiceType(const char* url, const char* base) {
    if (!url) return kUrlServiceNone;
    std::string text;
    if (base ? FAILED(CombineUrl(url, base, &text)) : !ExpandEnvironment(url, text)) return kUrlServiceNone;
    UrlParts parts;
    if (!ParseUrl(text, parts) || !IsSystemService(parts.serviceType)) return kUrlServiceNone;
    return parts.serviceType;
}

HRESULT UrlToLocalPath(const char* url, std::string& path) {
    std::string text;
    if (!url || !ExpandEnvironment(url, text)) return E_INVALIDARG;
    if (IsAbsoluteLocalPath(text)) {
        path = std::move(text);
        return S_OK;
    }
    if (!IsFileUrl(text)) return E_INVALIDARG;
    path = LocalPathFromFileUrl(text);
    UnescapeUrl(path);
    return S_OK;
}

HRESULT GetCombinedLocalPath(const char* relative, const char* base, std::string* out, BOOL wholePath) {
    if (!relative || !base || !out) return E_FAIL;
    if (GetUrlServiceType(base) != kUrlServiceFile) return E_INVALIDARG;
    std::string combined, path;
    if (HRESULT hr = CombineUrl(relative, base, &combined); FAILED(hr)) return hr;
    if (HRESULT hr = UrlToLocalPath(combined.c_str(), path); FAILED(hr)) return hr;
    *out = wholePath ? path : FolderOf(path);
    return S_OK;
}

}  // namespace vorlan
