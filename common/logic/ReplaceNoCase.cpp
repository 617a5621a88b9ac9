#include "ReplaceNoCase.h"

#include "Text.h"

namespace vorlan {

size_t FindNoCase(std::string_view text, std::string_view name, size_t from) {
    if (name.empty()) return std::string_view::npos;
    for (size_t i = from; i < text.size() && text.size() - i >= name.size(); ++i)
        if (EqualsNoCase(text.substr(i, name.size()), name)) return i;
    return std::string_view::npos;
}

std::string ReplaceNoCase(std::string_view text, std::string_view name, std::string_view value) {
    std::string out;
    size_t start = 0;
    for (size_t at; (at = FindNoCase(text, name, start)) != std::string_view::npos; start = at + name.size())
        out.append(text.substr(start, at - start)).append(value);
    out.append(text.substr(start));
    return out;
}

}  // namespace vorlan
