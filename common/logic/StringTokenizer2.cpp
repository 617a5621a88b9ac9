#include "StringTokenizer2.h"

#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#endif

#include "Text.h"

namespace vorlan {
namespace {

bool SystemLeadByte([[maybe_unused]] unsigned char c) {
#ifdef _WIN32
    return IsDBCSLeadByte(c) != FALSE;
#else
    return false;
#endif
}

}  // namespace

CStringTokenizer2::CStringTokenizer2() : isLeadByte_(SystemLeadByte) {}

int CStringTokenizer2::Tokenize(std::string_view text, std::string_view delimiters) {
    std::string token;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (isLeadByte_ && isLeadByte_(c) && i + 1 < text.size()) {
            token.append(text.substr(i, 2));
            ++i;
        } else if (delimiters.find(static_cast<char>(c)) != std::string_view::npos) {
            if (!token.empty()) tokens_.push_back(std::move(token));
            token.clear();
        } else {
            token.push_back(static_cast<char>(c));
        }
    }
    if (!token.empty()) tokens_.push_back(std::move(token));
    return GetSize();
}

const std::string& CStringTokenizer2::ElementAt(int index) const {
    if (index < 0 || index >= GetSize())
        throw std::invalid_argument("token index " + std::to_string(index) + " out of range");
    return tokens_[static_cast<size_t>(index)];
}

uint32_t CStringTokenizer2::LookupKeywords(std::string_view text, const CStringTokenizer2* keywords,
                                           std::span<const uint32_t> values, bool combine) {
    size_t first = tokens_.size();
    Tokenize(text, kKeywordDelimiters);
    if (!keywords) return 0;
    if (values.size() != keywords->tokens_.size())
        throw std::invalid_argument("one value per keyword expected");
    uint32_t result = 0;
    for (size_t t = first; t < tokens_.size(); ++t) {
        for (size_t k = 0; k < keywords->tokens_.size(); ++k) {
            if (!EqualsNoCase(tokens_[t], keywords->tokens_[k])) continue;
            if (!combine) return values[k];
            result |= values[k];
        }
    }
    return result;
}

uint32_t LookupKeywordTable(std::string_view text, std::span<const Keyword> table, bool combine) {
    CStringTokenizer2 keywords;
    std::vector<uint32_t> values;
    values.reserve(table.size());
    for (const Keyword& keyword : table) {
        keywords.Add(keyword.name);
        values.push_back(keyword.value);
    }
    return CStringTokenizer2().LookupKeywords(text, &keywords, values, combine);
}

}  // namespace vorlan
