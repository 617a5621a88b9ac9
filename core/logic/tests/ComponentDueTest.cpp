#include <gtest/gtest.h>

#include "ComponentDue.h"

namespace vorlan {
namespace {

TEST(CompareVersionsTest, Cases) {
    struct Case { const char* a; const char* b; int want; };
    const Case cases[] = {
        {"1.10", "1.9", 1},  {"1.9", "1.10", -1}, {"1.0", "1", 1},   {"2", "2.0", -1},
        {"1.05", "1.5", 0},  {"1.0", "0", 1},     {"", "", 0},       {"1", "", 1},
        {"1..2", "1.2", 0},  {"1.x", "1.0", 0},   {"3a.1", "3.1", 0}, {"10", "9", 1},
        {nullptr, "0", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareVersions(c.a, c.b), c.want) << (c.a ? c.a : "<null>") << " vs " << c.b;
}

TEST(ComponentDueTest, Cases) {
    struct Case {
        const char* note;
        ComponentVersions row;  // as the table holds it
        const char* indexVersion;
        const char* indexPatch;
        bool due;
    };
    const Case cases[] = {
        {"newer version", {"1.10", "0", "0"}, "1.9", "0", true},
        {"older version, not always", {"1.9", "5", "0"}, "1.10", "0", false},
        {"older version, always", {"1.9", "0", "1"}, "1.10", "0", true},
        {"equal version, newer patch", {"2.0", "3", "0"}, "2.0", "2", true},
        {"equal version, patch 2 against 10", {"2.0", "2", "0"}, "2.0", "10", false},
        {"equal version and patch", {"2.0", "1", "0"}, "2.0", "1", false},
        {"no index section", {"1.0", "0", "0"}, "0", "0", true},
        {"no index, version 0 patch newer", {"0", "1", "0"}, "0", "0", true},
        {"no index, version 0 patch 0", {"0", "0", "0"}, "0", "0", false},
        {"empty AlwaysSync counts as 1", {"1.0", "0", ""}, "1.0", "0", true},
        {"AlwaysSync true is not 1", {"1.0", "0", "true"}, "1.0", "0", false},
        {"AlwaysSync yes is not 1", {"1.0", "0", "yes"}, "1.0", "0", false},
        {"empty version defaults to 1.0", {"", "", "0"}, "0.9", "0", true},
        {"malformed version text", {"abc", "0", "0"}, "1.0", "0", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsComponentDue(WithDefaults(c.row), c.indexVersion, c.indexPatch), c.due) << c.note;
}

}  // namespace
}  // namespace vorlan
