#pragma once
// Splitting text into tokens, and mapping keyword lists (file operations,
// attributes, registry types, program actions) to numbers.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorlan {

class CStringTokenizer2 {
public:
    // Whether a byte opens a two-byte character of the text's code page, so
    // that its trail byte is never taken for a delimiter.
    using LeadByteTest = bool (*)(unsigned char);

    // Lead bytes of the process's ANSI code page (none natively, and none
    // under UTF-8, whose continuation bytes never equal an ASCII delimiter).
    CStringTokenizer2();
    explicit CStringTokenizer2(LeadByteTest isLeadByte) : isLeadByte_(isLeadByte) {}

    // Appends the maximal runs of text that hold no delimiter character, in
    // order; consecutive delimiters give no empty token. The tokens already
    // held stay. Returns the number of tokens held afterwards.
    int Tokenize(std::string_view text, std::string_view delimiters);

    void Add(std::string token) { tokens_.push_back(std::move(token)); }
    int GetSize() const { return static_cast<int>(tokens_.size()); }
    // Throws std::invalid_argument for an index outside 0 .. size - 1.
    const std::string& ElementAt(int index) const;
    const std::vector<std::string>& Tokens() const { return tokens_; }
    void RemoveAll() { tokens_.clear(); }

    // Maps the words of text, split at "|" and blank, to a number: with
    // combine false the first word that equals a keyword (without regard to
    // ASCII case) decides, taking the first such keyword's value; with
    // combine true the values of every matching word are ORed together. No
    // keyword list, or no keyword in the text, gives 0. values holds one
    // value per keyword (std::invalid_argument otherwise). The words are
    // appended to this tokenizer, but only this text's words are matched.
    uint32_t LookupKeywords(std::string_view text, const CStringTokenizer2* keywords,
                            std::span<const uint32_t> values, bool combine);

private:
    LeadByteTest isLeadByte_;
    std::vector<std::string> tokens_;
};

// The separators of keyword texts.
inline constexpr std::string_view kKeywordDelimiters = "| ";

// A keyword and the number it stands for.
struct Keyword {
    const char* name;
    uint32_t value;
};

// LookupKeywords over a table of keywords, tried in the table's order.
uint32_t LookupKeywordTable(std::string_view text, std::span<const Keyword> table, bool combine);

}  // namespace vorlan
