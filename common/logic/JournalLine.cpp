#include "JournalLine.h"

namespace vorlan {

std::string EncodeJournalLine(const std::vector<std::string>& fields) {
    std::string line;
    for (size_t f = 0; f < fields.size(); ++f) {
        if (f) line.push_back('\t');
        for (char c : fields[f]) {
            switch (c) {
                case '\\': line += "\\\\"; break;
                case '\t': line += "\\t"; break;
                case '\r': line += "\\r"; break;
                case '\n': line += "\\n"; break;
                default: line.push_back(c); break;
            }
        }
    }
    return line;
}

std::vector<std::string> DecodeJournalLine(std::string_view line) {
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\t') {
            fields.emplace_back();
        } else if (c == '\\' && i + 1 < line.size()) {
            char e = line[++i];
            fields.back().push_back(e == 't' ? '\t' : e == 'r' ? '\r' : e == 'n' ? '\n' : e);
        } else {
            fields.back().push_back(c);
        }
    }
    return fields;
}

}  // namespace vorlan
