#include <gtest/gtest.h>

#include "StringMap.h"
#include "Text.h"

namespace vorlan {
namespace {

TEST(StringMapTest, ReadingAnAbsentKeyAddsItEmpty) {
    StringMap map;
    EXPECT_EQ(map["missing"], "");
    ASSERT_NE(map.Find("missing"), nullptr);
    EXPECT_EQ(map.size(), 1u);
}

TEST(StringMapTest, KeysAreCaseSensitiveAndSetReplaces) {
    StringMap map;
    map.Set("A", "1");
    map.Set("a", "2");
    map.Set("A", "3");
    EXPECT_EQ(*map.Find("A"), "3");
    EXPECT_EQ(*map.Find("a"), "2");
    EXPECT_EQ(map.size(), 2u);
}

TEST(StringMapTest, IteratesInInsertionOrderAcrossRemovals) {
    StringMap map;
    for (const char* key : {"z", "b", "y", "a"}) map.Set(key, key);
    EXPECT_TRUE(map.Remove("b"));
    EXPECT_FALSE(map.Remove("b"));
    std::string order;
    for (const auto& [key, value] : map) order += key;
    EXPECT_EQ(order, "zya");
    EXPECT_EQ(*map.Find("a"), "a");
}

TEST(ReplaceAllTest, Cases) {
    struct Case { const char* text; const char* from; const char* to; const char* want; size_t n; };
    const Case cases[] = {
        {"aaa", "aa", "b", "ba", 1},        // non-overlapping, left to right
        {"%x%", "%x%", "%x%%x%", "%x%%x%", 1},  // replacement not rescanned
        {"abc", "", "z", "abc", 0},         // empty pattern does nothing
        {"a%%b%%", "%%", "", "ab", 2},
        {"", "a", "b", "", 0},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(ReplaceAll(text, c.from, c.to), c.n) << c.text;
        EXPECT_EQ(text, c.want) << c.text;
    }
}

}  // namespace
}  // namespace vorlan
