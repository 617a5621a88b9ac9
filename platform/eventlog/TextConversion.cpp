#include "TextConversion.h"

#include <windows.h>

namespace vorlan::eventlog {
namespace {

std::string Convert(std::string_view text, UINT from, UINT to) {
    if (text.empty() || from == to) return std::string(text);
    int wide = MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0) return std::string();
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), w.data(), wide);
    int bytes = WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(to, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
    return out;
}

}  // namespace

std::string Utf8FromAnsi(std::string_view text) { return Convert(text, GetACP(), CP_UTF8); }
std::string AnsiFromUtf8(std::string_view text) { return Convert(text, CP_UTF8, GetACP()); }

}  // namespace vorlan::eventlog
