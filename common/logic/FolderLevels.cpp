#include "FolderLevels.h"

namespace vorlan {

namespace {

std::vector<String16> Elements(String16View path) {
    std::vector<String16> elements;
    size_t i = 0;
    while (i < path.size()) {
        size_t end = path.find(Char16('\\'), i);
        if (end == String16View::npos) end = path.size();
        if (end > i) elements.emplace_back(path.substr(i, end - i));
        i = end + 1;
    }
    return elements;
}

}  // namespace

std::vector<String16> FolderLevels(String16View path, bool device) {
    std::vector<String16> elements = Elements(path);
    std::vector<String16> levels;
    if (elements.empty()) return levels;
    const String16 backslash(1, Char16('\\'));
    size_t next = 1;
    String16 level;
    if (device) {
        level = backslash + elements[0];
    } else if (path.size() >= 2 && path[0] == Char16('\\') && path[1] == Char16('\\')) {
        if (elements.size() < 2) return levels;
        level = backslash + backslash + elements[0] + backslash + elements[1] + backslash;
        next = 2;
    } else if (path[0] == Char16('\\')) {
        level = backslash + elements[0];
    } else {
        level = elements[0] + backslash;
    }
    levels.push_back(level);
    for (; next < elements.size(); ++next) {
        if (level.back() != Char16('\\')) level += backslash;
        level += elements[next];
        levels.push_back(level);
    }
    return levels;
}

}  // namespace vorlan
