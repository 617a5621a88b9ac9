#include "DevicePage.h"

#include "HtmlEscape.h"

namespace vorlan::deviceview {

std::string FillDevicePage(const std::string& pageTemplate, const StringMap& variables) {
    std::string page;
    page.reserve(pageTemplate.size() * 2);
    size_t at = 0;
    while (at < pageTemplate.size()) {
        size_t open = pageTemplate.find('%', at);
        if (open == std::string::npos) break;
        page.append(pageTemplate, at, open - at);
        size_t close = pageTemplate.find('%', open + 1);
        const std::string* value =
            close == std::string::npos ? nullptr : variables.Find(pageTemplate.substr(open + 1, close - open - 1));
        if (value && close > open + 1) {
            page += EscapeHtml(*value);
            at = close + 1;
        } else {
            page += '%';  // the closing sign may open the next variable
            at = open + 1;
        }
    }
    if (at < pageTemplate.size()) page.append(pageTemplate, at, std::string::npos);
    return page;
}

}  // namespace vorlan::deviceview
