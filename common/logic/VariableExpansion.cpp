#include "VariableExpansion.h"

#include "Text.h"

namespace vorlan {

Expansion ExpandVariables(std::string text, const StringMap& values) {
    Expansion result;
    for (const auto& [key, value] : values) {
        const std::string pattern = "%" + key + "%";
        if (text.find(pattern) == std::string::npos) continue;
        if (!value.empty()) ++result.nonEmptyFound;
        ReplaceAll(text, pattern, value);
    }
    ReplaceAll(text, "%newln%", "\n");
    ReplaceAll(text, "%tab%", "\t");
    result.text = std::move(text);
    return result;
}

}  // namespace vorlan
