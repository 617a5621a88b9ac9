#include <gtest/gtest.h>

#include "ProgressLine.h"

namespace vorlan {
namespace {

TEST(ProgressLineTest, Cases) {
    struct Case { const char* pattern; const char* want; };
    const Case cases[] = {
        {kDefaultProgressTemplate, "Package Main: Part 3 of 10"},
        {"Package %S: Part %d of %d\r\n", "Package Main: Part 3 of 10"},
        {"%d/%d %ls", "3/10 Main"},
        {"100%% %s", "100% Main"},
        {"%s%s%n%x %d %d %d", "Main%s%n%x 3 10 %d"},  // never read past the arguments
        {"trailing %", "trailing %"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatProgressLine(c.pattern, "Main", 3, 10), c.want) << c.pattern;
}

}  // namespace
}  // namespace vorlan
