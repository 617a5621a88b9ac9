#include "TwoWayState.h"

#include <charconv>
#include <cstdint>

#include "Text.h"

namespace vorlan::filesync {

// ASCII letters only, as EqualsNoCase compares: other bytes are kept.
std::string FoldCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

void TwoWayState::Parse(std::string_view text) {
    preamble_.clear();
    sections_.clear();
    index_.clear();
    changed_ = false;
    // The current section by index: adding sections moves them.
    size_t current = SIZE_MAX;
    const auto lines = [&]() -> std::vector<Line>& { return current == SIZE_MAX ? preamble_ : sections_[current].lines; };
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view trimmed = Trimmed(line);
        if (trimmed.empty()) continue;
        // The name runs to the last "]": paths may hold brackets.
        if (trimmed.front() == '[' && trimmed.rfind(']') != std::string_view::npos) {
            const std::string_view name = Trimmed(trimmed.substr(1, trimmed.rfind(']') - 1));
            FindOrAdd(name);
            current = index_.at(FoldCase(name));
            continue;
        }
        const size_t equals = trimmed.find('=');
        if (equals == std::string_view::npos) {
            lines().push_back({std::string(line), {}, false});
            continue;
        }
        const std::string_view key = Trimmed(trimmed.substr(0, equals));
        const std::string_view value = Trimmed(trimmed.substr(equals + 1));
        // A key met twice: the first counts, as for the platform's readers.
        bool seen = false;
        for (const Line& l : lines()) seen = seen || (l.isKey && EqualsNoCase(l.key, key));
        if (!seen) lines().push_back({std::string(key), std::string(value), true});
    }
    changed_ = false;
}

std::string TwoWayState::Format() const {
    std::string out;
    const auto put = [&out](const std::vector<Line>& lines) {
        for (const Line& l : lines) {
            out += l.key;
            if (l.isKey) out += "=" + l.value;
            out += "\r\n";
        }
    };
    put(preamble_);
    for (const Section& s : sections_) {
        if (s.removed) continue;
        out += "[" + s.name + "]\r\n";
        put(s.lines);
    }
    return out;
}

TwoWayState::Section* TwoWayState::Find(std::string_view name) {
    const auto found = index_.find(FoldCase(name));
    return found == index_.end() ? nullptr : &sections_[found->second];
}

const TwoWayState::Section* TwoWayState::Find(std::string_view name) const {
    const auto found = index_.find(FoldCase(name));
    return found == index_.end() ? nullptr : &sections_[found->second];
}

TwoWayState::Section& TwoWayState::FindOrAdd(std::string_view name) {
    if (Section* s = Find(name)) return *s;
    index_.emplace(FoldCase(name), sections_.size());
    sections_.push_back({std::string(name), {}, false});
    return sections_.back();
}

std::optional<std::string> TwoWayState::Value(std::string_view section, std::string_view key) const {
    if (const Section* s = Find(section))
        for (const Line& l : s->lines)
            if (l.isKey && EqualsNoCase(l.key, key)) return l.value;
    return std::nullopt;
}

void TwoWayState::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    Section& s = FindOrAdd(section);
    changed_ = true;
    for (Line& l : s.lines)
        if (l.isKey && EqualsNoCase(l.key, key)) {
            l.value = value;
            return;
        }
    s.lines.push_back({std::string(key), std::string(value), true});
}

bool TwoWayState::RemoveKey(std::string_view section, std::string_view key) {
    Section* s = Find(section);
    if (!s) return false;
    for (auto l = s->lines.begin(); l != s->lines.end(); ++l)
        if (l->isKey && EqualsNoCase(l->key, key)) {
            s->lines.erase(l);
            changed_ = true;
            return true;
        }
    return false;
}

bool TwoWayState::RemoveSection(std::string_view section) {
    const auto found = index_.find(FoldCase(section));
    if (found == index_.end()) return false;
    sections_[found->second].removed = true;
    sections_[found->second].lines.clear();
    index_.erase(found);
    changed_ = true;
    return true;
}

size_t TwoWayState::RemoveBelow(std::string_view folder) {
    std::string prefix = FoldCase(folder);
    if (prefix.empty() || prefix.back() != '\\') prefix += '\\';
    size_t removed = 0;
    for (Section& s : sections_) {
        if (s.removed || s.name.size() <= prefix.size()) continue;
        if (FoldCase(std::string_view(s.name).substr(0, prefix.size())) != prefix) continue;
        index_.erase(FoldCase(s.name));
        s.removed = true;
        s.lines.clear();
        ++removed;
    }
    if (removed) changed_ = true;
    return removed;
}

bool TwoWayState::ReadStoredCrc(std::string_view section, uint32_t& crc) const {
    crc = 0;
    const auto text = Value(section, kStateCrcKey);
    if (!text || text->empty() || EqualsNoCase(*text, "-1")) return false;
    uint32_t value = 0;
    const char* end = text->data() + text->size();
    const auto [at, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || at != end) return false;
    crc = value;
    return true;
}

void TwoWayState::WriteStoredCrc(std::string_view section, uint32_t crc) {
    RemoveKey(section, kStateConflictKey);
    SetValue(section, kStateCrcKey, std::to_string(crc));
}

void TwoWayState::SetConflictRecord(std::string_view section, std::string_view devicePath) {
    if (ConflictRecord(section) == std::string(devicePath)) return;
    SetValue(section, kStateConflictKey, devicePath);
}

void TwoWayState::ClearConflictRecord(std::string_view section) { RemoveKey(section, kStateConflictKey); }

std::optional<std::string> TwoWayState::ConflictRecord(std::string_view section) const {
    return Value(section, kStateConflictKey);
}

std::vector<std::string> TwoWayState::ChildrenOf(std::string_view folder) const {
    std::string prefix = FoldCase(folder);
    if (prefix.empty() || prefix.back() != '\\') prefix += '\\';
    std::vector<std::string> names;
    for (const Section& s : sections_) {
        if (s.removed || s.name.size() <= prefix.size()) continue;
        if (FoldCase(std::string_view(s.name).substr(0, prefix.size())) != prefix) continue;
        const std::string name = s.name.substr(prefix.size());
        if (name.find('\\') == std::string::npos) names.push_back(name);
    }
    return names;
}

std::vector<std::string> TwoWayState::Sections() const {
    std::vector<std::string> names;
    for (const Section& s : sections_)
        if (!s.removed) names.push_back(s.name);
    return names;
}

}  // namespace vorlan::filesync
