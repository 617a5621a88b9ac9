#include "WizardUrlKind.h"

#include "Url.h"

namespace vorlan::filesync {

UrlKind WizardUrlKind(const std::string& text, const std::string& base) {
    switch (GetUrlServiceType(text.c_str(), base.empty() ? nullptr : base.c_str())) {
        case kUrlServiceFile:
            return UrlKind::kFile;
        case kUrlServiceFtp:
            return UrlKind::kFtp;
        case kUrlServiceHttp:
            return UrlKind::kHttp;
        case kUrlServiceHttps:
            return UrlKind::kHttps;
        default:
            return UrlKind::kNone;
    }
}

std::string StartFolderOf(const std::string& text, const std::string& tableUrl, bool textIsFolder) {
    if (text.empty()) return {};
    std::string folder;
    if (SUCCEEDED(GetCombinedLocalPath(text.c_str(), tableUrl.c_str(), &folder, textIsFolder))) return folder;
    // No file table to resolve against: an absolute path stands alone.
    std::string path;
    if (FAILED(UrlToLocalPath(text.c_str(), path))) return {};
    if (textIsFolder) return path;
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

}  // namespace vorlan::filesync
