#include "FileUrl.h"

namespace vorlan {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool StartsWithDrive(std::string_view text) {
    return text.size() >= 2 && IsAsciiLetter(text[0]) && (text[1] == ':' || text[1] == '|') &&
           (text.size() == 2 || IsSeparator(text[2]));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

std::string Backslashed(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

}  // namespace

bool IsDrivePath(std::string_view text) {
    return text.size() >= 3 && IsAsciiLetter(text[0]) && text[1] == ':' && IsSeparator(text[2]);
}

bool IsUncPath(std::string_view text) {
    return text.size() >= 3 && text[0] == '\\' && text[1] == '\\' && !IsSeparator(text[2]);
}

bool HasUrlScheme(std::string_view text) {
    size_t colon = text.find(':');
    if (colon == text.npos || colon < 2 || !IsAsciiLetter(text[0])) return false;
    for (size_t i = 1; i < colon; ++i) {
        char c = text[i];
        if (!IsAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

bool IsFileUrl(std::string_view text) { return StartsWithNoCase(text, "file:"); }

std::string LocalPathFromFileUrl(std::string_view url) {
    std::string_view rest = url.substr(url.find(':') + 1);
    size_t slashes = 0;
    while (slashes < rest.size() && IsSeparator(rest[slashes])) ++slashes;
    rest.remove_prefix(slashes);
    if (slashes == 2 && StartsWithNoCase(rest, "localhost") &&
        (rest.size() == 9 || IsSeparator(rest[9]))) {
        rest.remove_prefix(rest.size() == 9 ? 9 : 10);
        if (!StartsWithDrive(rest)) return "\\" + Backslashed(rest);
    }
    if (StartsWithDrive(rest)) {
        std::string path = Backslashed(rest);
        path[1] = ':';
        return path;
    }
    if (slashes == 2 || slashes >= 4) return "\\\\" + Backslashed(rest);
    return "\\" + Backslashed(rest);
}

std::string FileUrlFromLocalPath(std::string_view path) {
    std::string url = IsUncPath(path) ? "file:" : "file:///";
    for (char c : path) {
        switch (c) {
        case '\\': url.push_back('/'); break;
        case '%': url.append("%25"); break;
        case '#': url.append("%23"); break;
        case '?': url.append("%3F"); break;
        default: url.push_back(c);
        }
    }
    return url;
}

}  // namespace vorlan
