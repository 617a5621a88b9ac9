#include <gtest/gtest.h>

#include <stdexcept>

#include "StringTokenizer2.h"

namespace vorlan {
namespace {

std::vector<std::string> Tokens(const char* text, const char* delimiters) {
    CStringTokenizer2 t;
    t.Tokenize(text, delimiters);
    return t.Tokens();
}

TEST(StringTokenizer2Test, Tokenize) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Tokens("A ||  B", "| "), (V{"A", "B"}));
    EXPECT_EQ(Tokens("", "| "), V{});
    EXPECT_EQ(Tokens("|| ", "| "), V{});
    EXPECT_EQ(Tokens("1..2.", "."), (V{"1", "2"}));
    EXPECT_EQ(Tokens("no delimiters", ""), V{"no delimiters"});

    CStringTokenizer2 t;
    EXPECT_EQ(t.Tokenize("a b", " "), 2);
    EXPECT_EQ(t.Tokenize("c", " "), 3) << "tokens are appended, not replaced";
    EXPECT_EQ(t.Tokenize("", " "), 3);
}

TEST(StringTokenizer2Test, TrailBytesOfDoubleByteCharactersAreNotDelimiters) {
    // 0x81 opens a two-byte character whose trail byte is "|" (0x7C).
    CStringTokenizer2 t([](unsigned char c) { return c == 0x81; });
    t.Tokenize("A\x81|B|C", "|");
    EXPECT_EQ(t.Tokens(), (std::vector<std::string>{"A\x81|B", "C"}));
}

TEST(StringTokenizer2Test, ElementAtChecksTheIndex) {
    CStringTokenizer2 t;
    t.Tokenize("x y", " ");
    EXPECT_EQ(t.ElementAt(1), "y");
    EXPECT_THROW(t.ElementAt(-1), std::invalid_argument);
    EXPECT_THROW(t.ElementAt(2), std::invalid_argument);
}

TEST(StringTokenizer2Test, LookupKeywords) {
    CStringTokenizer2 keywords;
    keywords.Tokenize("QV_CREATE_FOLDER|QV_DELETE_FILE|READONLY|HIDDEN|ARCHIVE", "|");
    const uint32_t values[] = {3, 2, 0x1, 0x2, 0x20};
    struct Case {
        const char* note;
        const char* text;
        bool combine;
        uint32_t want;
    };
    const Case cases[] = {
        {"first token decides", "qv_create_folder | QV_DELETE_FILE", false, 3},
        {"order of the text, not of the list", "QV_DELETE_FILE|QV_CREATE_FOLDER", false, 2},
        {"words before the first keyword are skipped", "junk HIDDEN READONLY", false, 0x2},
        {"combine ORs every keyword", "READONLY | hidden", true, 0x3},
        {"combine with repeats", "ARCHIVE|ARCHIVE|READONLY", true, 0x21},
        {"lower case matches", "archive", false, 0x20},
        {"no keyword", "nothing here", false, 0},
        {"no keyword, combined", "nothing here", true, 0},
        {"empty text", "", true, 0},
        {"part of a word is no match", "READONLYX HIDDE", true, 0},
    };
    for (const Case& c : cases) {
        CStringTokenizer2 t;
        EXPECT_EQ(t.LookupKeywords(c.text, &keywords, values, c.combine), c.want) << c.note;
    }
}

TEST(StringTokenizer2Test, LookupKeywordsEdges) {
    CStringTokenizer2 keywords;
    keywords.Tokenize("A B", " ");
    const uint32_t values[] = {1, 2};

    CStringTokenizer2 t;
    EXPECT_EQ(t.LookupKeywords("A", nullptr, {}, true), 0u) << "no keyword list";
    EXPECT_EQ(t.LookupKeywords("B", &keywords, values, true), 2u);
    EXPECT_EQ(t.LookupKeywords("nothing", &keywords, values, true), 0u)
        << "a reused tokenizer matches only the new text's words";
    EXPECT_EQ(t.GetSize(), 3);

    const uint32_t tooFew[] = {1};
    EXPECT_THROW(t.LookupKeywords("A", &keywords, tooFew, false), std::invalid_argument);
}

}  // namespace
}  // namespace vorlan
