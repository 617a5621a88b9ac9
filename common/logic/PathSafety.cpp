#include "PathSafety.h"


namespace vorlan {

namespace {

template <typename Char>
bool IsSeparator(Char c) {
    return c == Char('\\') || c == Char('/');
}

// Steps of a path below its root, after "." and ".." are applied. A step of
// dots alone other than ".." stays in the same folder, as Windows drops
// trailing dots.
template <typename Char>
size_t StepsBelow(std::basic_string_view<Char> rest) {
    size_t depth = 0;
    size_t i = 0;
    while (i < rest.size()) {
        while (i < rest.size() && IsSeparator(rest[i])) ++i;
        size_t start = i;
        while (i < rest.size() && !IsSeparator(rest[i])) ++i;
        std::basic_string_view<Char> step = rest.substr(start, i - start);
        if (step.empty()) continue;
        bool dotsOnly = step.find_first_not_of(Char('.')) == std::basic_string_view<Char>::npos;
        if (!dotsOnly) ++depth;
        else if (step.size() == 2 && depth > 0) --depth;
    }
    return depth;
}

template <typename Char>
bool StartsWith(std::basic_string_view<Char> text, const char* prefix) {
    size_t n = 0;
    for (; prefix[n]; ++n) {
        if (n >= text.size()) return false;
        Char c = text[n], p = static_cast<Char>(prefix[n]);
        if (IsSeparator(p) ? !IsSeparator(c) : (c != p && !(p >= 'A' && p <= 'Z' && c == Char(p - 'A' + 'a'))))
            return false;
    }
    return true;
}

template <typename Char>
bool IsRootOrEmpty(std::basic_string_view<Char> path) {
    bool unc = false;
    if (StartsWith(path, "\\\\?\\UNC\\")) {
        path.remove_prefix(8);
        unc = true;
    } else if (StartsWith(path, "\\\\?\\") || StartsWith(path, "\\\\.\\")) {
        path.remove_prefix(4);
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        path.remove_prefix(2);
        unc = true;
    }
    if (unc) {
        // The server and the share are the root of a network path.
        for (int part = 0; part < 2; ++part) {
            while (!path.empty() && IsSeparator(path.front())) path.remove_prefix(1);
            if (path.empty()) return true;
            while (!path.empty() && !IsSeparator(path.front())) path.remove_prefix(1);
        }
    } else if (path.size() >= 2 && path[1] == Char(':')) {
        path.remove_prefix(2);
    }
    return StepsBelow(path) == 0;
}

}  // namespace

bool IsRootOrEmptyPath(std::string_view path) { return IsRootOrEmpty(path); }
bool IsRootOrEmptyPath(String16View path) { return IsRootOrEmpty(path); }

}  // namespace vorlan
