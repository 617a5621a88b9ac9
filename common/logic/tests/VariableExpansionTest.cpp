#include <gtest/gtest.h>

#include "VariableExpansion.h"

namespace vorlan {
namespace {

TEST(VariableExpansionTest, Cases) {
    struct Case {
        const char* note;
        std::vector<std::pair<const char*, const char*>> pairs;
        const char* text;
        const char* want;
        int found;
    };
    const Case cases[] = {
        {"no percent signs", {{"A", "v"}}, "plain text", "plain text", 0},
        {"empty value removes", {{"A", ""}}, "x%A%y", "xy", 0},
        {"unknown variable kept", {{"A", "v"}}, "x%zz%y", "x%zz%y", 0},
        {"line feed and tab with no keys", {}, "%newln%%tab%", "\n\t", 0},
        {"every occurrence, counted once", {{"A", "v"}}, "%A%%A%", "vv", 1},
        {"a key named newln wins", {{"newln", "N"}}, "%newln%", "N", 1},
        {"case-sensitive keys", {{"a", "v"}}, "%A%", "%A%", 0},
        {"later pair expands earlier value", {{"A", "%B%"}, {"B", "b"}}, "%A%", "b", 2},
        {"earlier pair does not expand later value", {{"B", "b"}, {"A", "%B%"}}, "%A%", "%B%", 1},
        {"two variables", {{"A", "1"}, {"B", "2"}}, "%A%-%B%%newln%", "1-2\n", 2},
    };
    for (const Case& c : cases) {
        StringMap map;
        for (auto [k, v] : c.pairs) map.Set(k, v);
        Expansion e = ExpandVariables(c.text, map);
        EXPECT_EQ(e.text, c.want) << c.note;
        EXPECT_EQ(e.nonEmptyFound, c.found) << c.note;
    }
}

}  // namespace
}  // namespace vorlan
