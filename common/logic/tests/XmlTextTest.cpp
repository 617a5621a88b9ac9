#include <gtest/gtest.h>

#include "XmlText.h"

namespace vorlan {
namespace {

TEST(XmlTextTest, OnlyCharactersXmlCanHold) {
    struct Case {
        const char* note;
        String16 text;
        bool allowed;
    };
    const Case cases[] = {
        {"empty", VORLAN_U16(""), true},
        {"plain text with tab, line feed and carriage return", VORLAN_U16("a\tb\nc\rd"), true},
        {"accents and a character beyond U+FFFF", VORLAN_U16("\u00e9\u65e5\U0001F600"), true},
        {"last characters allowed", String16{0xD7FF, 0xE000, 0xFFFD}, true},
        {"U+0001", String16{'a', 0x1, 'b'}, false},
        {"escape", String16{0x1B}, false},
        {"unit separator", String16{0x1F}, false},
        {"zero", String16{'a', 0x0}, false},
        {"U+FFFE", String16{0xFFFE}, false},
        {"U+FFFF", String16{0xFFFF}, false},
        {"first half of a pair alone at the end", String16{'a', 0xD83D}, false},
        {"first half followed by a letter", String16{0xD83D, 'a'}, false},
        {"second half alone", String16{0xDE00, 'a'}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsXmlText(c.text), c.allowed) << c.note;
}

}  // namespace
}  // namespace vorlan
