#include "ExpandEnvironment.h"

#include <windows.h>

#include "Bstr.h"

namespace vorlan {

// The wide function, then the ANSI text: the ANSI function counts UTF-8
// results in characters rather than bytes under Wine and cuts them.
bool ExpandEnvironment(std::string_view text, std::string& out, size_t limit) {
    out.clear();
    const std::wstring source = com::WideFromAnsi(text);
    DWORD needed = ExpandEnvironmentStringsW(source.c_str(), nullptr, 0);
    if (needed == 0) return false;
    std::wstring expanded(needed, L'\0');
    needed = ExpandEnvironmentStringsW(source.c_str(), expanded.data(), needed);
    if (needed == 0 || needed > expanded.size()) return false;
    expanded.resize(needed - 1);
    std::string result = com::AnsiFromWide(expanded);
    if (result.size() + 1 > limit) return false;
    out = std::move(result);
    return true;
}

}  // namespace vorlan
