#include "DevicePath.h"

#include <array>
#include <vector>

namespace vorlan::device {

namespace {

constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kInvalidParameter = 87;
constexpr uint32_t kInvalidName = 123;
constexpr uint32_t kBadNetPath = 53;
constexpr uint32_t kNameTooLong = 206;
constexpr size_t kMaxDevicePath = 259;

char16_t Upper(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
    return c;
}

bool IsHostDeviceName(std::u16string_view name) {
    // The host opens these as devices whatever folder they are in, also
    // with an extension ("nul.txt").
    size_t dot = name.find(u'.');
    std::u16string stem;
    for (char16_t c : name.substr(0, dot)) stem += Upper(c);
    while (!stem.empty() && stem.back() == u' ') stem.pop_back();
    static const std::array<std::u16string_view, 6> fixed = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$",
                                                             u"CONOUT$"};
    for (auto f : fixed)
        if (stem == f) return true;
    if (stem.size() == 4 && (stem.starts_with(u"COM") || stem.starts_with(u"LPT")) && stem[3] >= u'0' &&
        stem[3] <= u'9')
        return true;
    return false;
}

bool IsValidComponent(std::u16string_view name, bool wildcards) {
    for (char16_t c : name) {
        if (c < 32) return false;
        switch (c) {
            case u'<': case u'>': case u'"': case u'|':
                return false;
            case u'*': case u'?':
                if (!wildcards) return false;
                break;
            default:
                break;
        }
    }
    if (name.back() == u'.' || name.back() == u' ') return false;
    return !IsHostDeviceName(name);
}

}  // namespace

ResolvedPath ResolveDevicePath(std::u16string_view path, PathUse use) {
    ResolvedPath out;
    if (path.size() > kMaxDevicePath) {
        out.error = kNameTooLong;
        return out;
    }
    if (path.size() >= 2 && (path[0] == u'\\' || path[0] == u'/') && (path[1] == u'\\' || path[1] == u'/')) {
        out.error = kBadNetPath;
        return out;
    }
    if (path.find(u':') != std::u16string_view::npos) {
        out.error = kInvalidName;
        return out;
    }
    std::vector<std::u16string_view> parts;
    size_t start = 0;
    std::vector<std::u16string_view> all;
    while (start <= path.size()) {
        size_t end = path.find_first_of(u"\\/", start);
        if (end == std::u16string_view::npos) end = path.size();
        std::u16string_view part = path.substr(start, end - start);
        if (!part.empty()) all.push_back(part);
        start = end + 1;
    }
    const size_t last = all.empty() ? 0 : all.size() - 1;
    for (size_t index = 0; index < all.size(); ++index) {
        std::u16string_view part = all[index];
        if (part == u".") continue;
        if (part == u"..") {
            if (parts.empty()) {
                out.error = kPathNotFound;
                return out;
            }
            parts.pop_back();
            continue;
        }
        bool wildcards = use == PathUse::Pattern && index == last;
        if (!IsValidComponent(part, wildcards)) {
            out.error = kInvalidName;
            return out;
        }
        parts.push_back(part);
    }
    if (use == PathUse::Pattern && parts.empty()) {
        out.error = kInvalidParameter;
        return out;
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out.relative += u'\\';
        out.relative += parts[i];
    }
    return out;
}

std::u16string PathKey(std::u16string_view path) {
    std::u16string key;
    key.reserve(path.size());
    for (char16_t c : path) key += Upper(c == u'/' ? u'\\' : c);
    return key;
}

}  // namespace vorlan::device
