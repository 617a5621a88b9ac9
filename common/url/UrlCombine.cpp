#include <urlmon.h>

#include "Bstr.h"
#include "ExpandEnvironment.h"
#include "FileUrl.h"
#include "Url.h"

namespace vorlan {
namespace {

constexpr DWORD kCombinedSize = 2048;

}  // namespace

HRESULT CombineUrl(const char* relative, const char* base, std::string* out) {
    if (!relative || !base || !out) return E_FAIL;
    std::string rel, parent;
    if (!ExpandEnvironment(relative, rel) || !ExpandEnvironment(base, parent)) return E_FAIL;
    // urlmon mangles these (a drive or UNC relative is appended to the base's
    // folder), and an absolute address stays as written anyway.
    if (IsAbsoluteLocalPath(rel) || HasUrlScheme(rel)) {
        *out = std::move(rel);
        return S_OK;
    }
    if (IsAbsoluteLocalPath(parent)) parent = FileUrlFromLocalPath(parent);
    wchar_t combined[kCombinedSize];
    DWORD length = 0;
    HRESULT hr = CoInternetCombineUrl(com::WideFromAnsi(parent).c_str(), com::WideFromAnsi(rel).c_str(), 0, combined,
                                      kCombinedSize, &length, 0);
    if (FAILED(hr)) return hr;
    *out = com::AnsiFromWide(combined);
    return S_OK;
}

}  // namespace vorlan
