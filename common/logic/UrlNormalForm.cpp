#include "UrlNormalForm.h"

#include <vector>

#include "FileUrl.h"
#include "UrlEscape.h"

namespace vorlan {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsHex(char c) { return (c >= '0' && c <= '9') || (Lower(c) >= 'a' && Lower(c) <= 'f'); }

std::string Lowered(std::string text) {
    for (char& c : text) c = Lower(c);
    return text;
}

// The segments of path after "." and ".." are resolved; ".." at the top
// stays at the top.
std::string ResolvedSegments(std::string_view path) {
    std::vector<std::string_view> kept;
    size_t start = 0;
    const bool trailing = !path.empty() && path.back() == '/';
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == path.npos) end = path.size();
        const std::string_view segment = path.substr(start, end - start);
        if (segment == "..") {
            if (!kept.empty()) kept.pop_back();
        } else if (!segment.empty() && segment != ".") {
            kept.push_back(segment);
        }
        start = end + 1;
    }
    std::string out;
    for (std::string_view segment : kept) {
        out += '/';
        out += segment;
    }
    if (trailing || out.empty()) out += '/';
    return out;
}

std::string LocalForm(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    std::string root;
    std::string_view rest(path);
    if (IsDrivePath(rest)) {
        root = rest.substr(0, 2);
        rest.remove_prefix(2);
    } else if (rest.substr(0, 2) == "//") {
        // "//server/share" is the top.
        const std::string_view unc = rest.substr(2);
        const size_t share = unc.find('/');
        size_t end = share == unc.npos ? unc.npos : unc.find('/', share + 1);
        if (end == unc.npos) end = unc.size();
        root = "//";
        root += unc.substr(0, end);
        rest = unc.substr(end);
    }
    return "file:" + Lowered(root + ResolvedSegments(rest));
}

std::string NetworkForm(std::string_view url) {
    const size_t colon = url.find(':');
    std::string out = Lowered(std::string(url.substr(0, colon + 1)));
    std::string_view rest = url.substr(colon + 1);
    if (rest.substr(0, 2) == "//") {
        const size_t end = rest.find_first_of("/?#", 2);
        out += Lowered(std::string(rest.substr(0, end)));
        rest.remove_prefix(end == rest.npos ? rest.size() : end);
    }
    const size_t tail = rest.find_first_of("?#");
    const std::string_view path = rest.substr(0, tail);
    if (!path.empty()) out += ResolvedSegments(path);
    if (tail != rest.npos) out += rest.substr(tail);
    for (size_t i = 0; i + 2 < out.size(); ++i) {
        if (out[i] == '%' && IsHex(out[i + 1]) && IsHex(out[i + 2])) {
            out[i + 1] = Upper(out[i + 1]);
            out[i + 2] = Upper(out[i + 2]);
        }
    }
    return out;
}

}  // namespace

std::string UrlComparisonForm(std::string_view url) {
    if (IsAbsoluteLocalPath(url)) return LocalForm(std::string(url));
    if (IsFileUrl(url)) {
        std::string path = LocalPathFromFileUrl(url);
        UnescapeUrl(path);
        return LocalForm(path);
    }
    if (HasUrlScheme(url)) return NetworkForm(url);
    return std::string(url);
}

}  // namespace vorlan
