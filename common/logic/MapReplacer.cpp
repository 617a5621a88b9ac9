#include "MapReplacer.h"

#include "Text.h"

namespace vorlan {

std::string CMapReplacer::Expand(std::string_view text) const {
    std::string out(text);
    if (!variables_) return out;
    for (const auto& [name, value] : *variables_)
        if (!name.empty()) ReplaceAll(out, "%" + name + "%", value);
    return out;
}

}  // namespace vorlan
