#include "ExactAnsi.h"

#include <windows.h>

namespace vorlan {

bool ExactAnsiFromWide(std::wstring_view text, std::string& out) {
    out.clear();
    if (text.empty()) return true;
    const UINT codePage = GetACP();
    // UTF-8 holds every character and refuses broken pairs itself; other
    // code pages say when they had to substitute one.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL substituted = FALSE;
    const int length = static_cast<int>(text.size());
    int n = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr,
                                utf8 ? nullptr : &substituted);
    if (n <= 0 || substituted) return false;
    out.resize(n);
    if (WideCharToMultiByte(codePage, flags, text.data(), length, out.data(), n, nullptr,
                            utf8 ? nullptr : &substituted) != n || substituted) {
        out.clear();
        return false;
    }
    return true;
}

}  // namespace vorlan
