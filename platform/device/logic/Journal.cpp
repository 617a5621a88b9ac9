#include "Journal.h"

#include <cstdio>

namespace vorlan::device {

namespace {

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", u);
            out += esc;
        } else {
            out += c;
        }
    }
    out += '"';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted string at pos; only the escapes FormatJournalLine writes
// (and \u below 0x80) are accepted.
bool ReadQuoted(std::string_view line, size_t& pos, std::string& out) {
    if (pos >= line.size() || line[pos] != '"') return false;
    ++pos;
    out.clear();
    while (pos < line.size()) {
        char c = line[pos++];
        if (c == '"') return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= line.size()) return false;
        char e = line[pos++];
        if (e == '"' || e == '\\' || e == '/') {
            out += e;
        } else if (e == 'u') {
            if (pos + 4 > line.size()) return false;
            int v = 0;
            for (int i = 0; i < 4; ++i) {
                int h = HexValue(line[pos + i]);
                if (h < 0) return false;
                v = v * 16 + h;
            }
            if (v >= 0x80) return false;
            out += static_cast<char>(v);
            pos += 4;
        } else {
            return false;
        }
    }
    return false;
}

}  // namespace

std::string JournalEntry::Get(std::string_view name) const {
    for (const auto& [key, value] : fields)
        if (key == name) return value;
    return {};
}

std::string FormatJournalLine(std::string_view kind,
                              const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string out = "{\"kind\":";
    AppendQuoted(out, kind);
    for (const auto& [key, value] : fields) {
        out += ',';
        AppendQuoted(out, key);
        out += ':';
        AppendQuoted(out, value);
    }
    out += "}\n";
    return out;
}

bool ParseJournalLine(std::string_view line, JournalEntry& entry) {
    entry.fields.clear();
    size_t pos = 0;
    if (line.empty() || line[pos++] != '{') return false;
    for (;;) {
        std::string key, value;
        if (!ReadQuoted(line, pos, key)) return false;
        if (pos >= line.size() || line[pos++] != ':') return false;
        if (!ReadQuoted(line, pos, value)) return false;
        entry.fields.emplace_back(std::move(key), std::move(value));
        if (pos >= line.size()) return false;
        char c = line[pos++];
        if (c == '}') return pos == line.size() && !entry.fields.empty() && entry.fields[0].first == "kind";
        if (c != ',') return false;
    }
}

std::vector<JournalEntry> ParseJournal(std::string_view text) {
    std::vector<JournalEntry> entries;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        JournalEntry entry;
        if (ParseJournalLine(text.substr(start, end - start), entry)) entries.push_back(std::move(entry));
        start = end + 1;
    }
    return entries;
}

}  // namespace vorlan::device
