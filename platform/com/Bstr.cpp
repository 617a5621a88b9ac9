#include "Bstr.h"

#include <windows.h>

namespace vorlan::com {

std::wstring WideFromAnsi(std::string_view text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string AnsiFromWide(std::wstring_view text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

Bstr::Bstr(std::wstring_view text)
    : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}

Bstr Bstr::FromAnsi(std::string_view text) { return Adopt(AllocBstrFromAnsi(text)); }

std::string Bstr::Ansi() const { return AnsiFromBstr(b_); }

std::string AnsiFromBstr(BSTR b) {
    return b ? AnsiFromWide(std::wstring_view(b, SysStringLen(b))) : std::string();
}

BSTR AllocBstrFromAnsi(std::string_view text) {
    std::wstring wide = WideFromAnsi(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

}  // namespace vorlan::com
