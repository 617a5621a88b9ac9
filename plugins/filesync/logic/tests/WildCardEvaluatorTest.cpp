#include "WildCardEvaluator.h"

#include <gtest/gtest.h>

namespace vorlan::filesync {
namespace {

TEST(WildCardEvaluatorTest, ListBecomesOneExpression) {
    const struct {
        const char* list;
        const char* want;
    } cases[] = {
        {"*", "(.*)"},
        {"*.txt:~*", "(.*\\.txt)|(~.*)"},
        {"?.doc", "(.\\.doc)"},
        {"a\\b", "(a\\\\b)"},
        {"[x]^+-|!${}()", "(\\[x\\]\\^\\+\\-\\|\\!\\$\\{\\}\\(\\))"},
    };
    for (const auto& c : cases) {
        std::string expression;
        EXPECT_EQ(CFileSystemWildCardEvaluator::WildcardToRegex(c.list, expression), kFilterOk);
        EXPECT_EQ(expression, c.want) << c.list;
    }
}

TEST(WildCardEvaluatorTest, WholeNamesWithoutRegardToCase) {
    const struct {
        const char* inclusion;
        const char* exclusion;
        const char* name;
        bool skipped;
    } cases[] = {
        {"*", "", "anything.at.all", false},
        {"*", "", "~$lock", false},
        {"*.txt", "", "A.TXT", false},
        {"*.txt", "", "a.txt.bak", true},
        {"*.txt:*.txt.bak", "", "a.txt.bak", false},
        {"a*.txt", "", "ba.txt", true},
        {"a*.txt", "", "abc.txt", false},
        {"*", "~*", "~a", true},
        {"*", "~*", "a", false},
        {"*", "~*", "x~y", false},
        {"*", "*.bak:*.tmp", "b.TMP", true},
        {"*", "*.bak:*.tmp", "b.tmp.keep", false},
        {"?.txt", "", "a.txt", false},
        {"?.txt", "", "ab.txt", true},
        {"?.txt", "", ".txt", true},
        {"(x)+$.txt", "", "(x)+$.txt", false},
        {"(x)+$.txt", "", "xx.txt", true},
        {"a.b", "", "aXb", true},
        {"[ab].txt", "", "a.txt", true},
        {"[ab].txt", "", "[AB].txt", false},
        {"c++ {1}-^!|.h", "", "C++ {1}-^!|.H", false},
        {"*.txt", "", "docs", true},
        {"*.txt:*.doc", "", "letter.doc", false},
    };
    for (const auto& c : cases) {
        CFileSystemWildCardEvaluator filter;
        ASSERT_EQ(filter.SetInclusion(c.inclusion), kFilterOk);
        ASSERT_EQ(filter.SetExclusion(c.exclusion), kFilterOk);
        EXPECT_EQ(filter.Match(c.name), c.skipped) << c.inclusion << " / " << c.exclusion << " / " << c.name;
    }
}

TEST(WildCardEvaluatorTest, ListThatCannotBeCompiledTakesNothing) {
    const std::string huge(kMaxFilterList + 1, '?');
    CFileSystemWildCardEvaluator filter;
    EXPECT_EQ(filter.SetInclusion(std::string(kMaxFilterList - 1, '?') + "*"), kFilterOk);
    EXPECT_FALSE(filter.Match(std::string(kMaxFilterList, 'n')));
    EXPECT_EQ(filter.SetInclusion(std::string(kMaxFilterList, '(')), kFilterOk) << "longest list, all escaped";
    EXPECT_FALSE(filter.Match(std::string(kMaxFilterList, '(')));
    EXPECT_EQ(filter.SetInclusion(huge), kFilterFailed);
    EXPECT_TRUE(filter.Match("a"));

    ASSERT_EQ(filter.SetInclusion("*"), kFilterOk);
    EXPECT_FALSE(filter.Match("a"));
    EXPECT_EQ(filter.SetExclusion(huge), kFilterFailed);
    EXPECT_TRUE(filter.Match("a")) << "a failed exclusion list excludes everything rather than nothing";
    EXPECT_EQ(filter.Inclusion(), "*");
    EXPECT_EQ(filter.Exclusion(), huge);
}

}  // namespace
}  // namespace vorlan::filesync
