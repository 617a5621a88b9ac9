#include "ExpandEnvironment.h"

#include <windows.h>

namespace vorlan {

bool ExpandEnvironment(std::string_view text, std::string& out, size_t limit) {
    out.clear();
    const std::string source(text);
    std::string buffer(limit, '\0');
    DWORD needed = ExpandEnvironmentStringsA(source.c_str(), buffer.data(), static_cast<DWORD>(limit));
    if (needed == 0 || needed > limit) return false;
    buffer.resize(needed - 1);
    out = std::move(buffer);
    return true;
}

}  // namespace vorlan
