#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "IniSet.h"

namespace vorlan {
namespace {

using Entries = std::vector<std::tuple<String16, String16, String16>>;

// Every section with each of its keys; a section without keys appears once
// with an empty key and the value "(none)".
Entries Contents(const CIniSet& set) {
    Entries out;
    for (const auto& [name, section] : set) {
        if (section.empty()) out.emplace_back(name, String16(), VORLAN_U16("(none)"));
        for (const auto& [key, value] : section) out.emplace_back(name, key, value);
    }
    return out;
}

TEST(IniParseTest, Cases) {
    const String16 none = VORLAN_U16("(none)");
    struct Case {
        const char* note;
        String16 text;
        Entries want;
        IniText read;
    };
    constexpr IniText whole = IniText::kComplete, cut = IniText::kLastLineCut, damaged = IniText::kDamaged;
    const Case cases[] = {
        {"one key", VORLAN_U16("[A]\r\nk=v\r\n"), {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}}, whole},
        {"empty value", VORLAN_U16("[A]\r\nk=\r\n"), {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("")}}, whole},
        {"'k=' at the very end stores nothing", VORLAN_U16("[A]\r\nk="), {{VORLAN_U16("A"), VORLAN_U16(""), none}}, cut},
        {"value at the very end", VORLAN_U16("[A]\r\nk=v"), {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}}, whole},
        {"blank kept in the key, skipped before the value", VORLAN_U16("[A]\r\nk =  v\r\n"),
         {{VORLAN_U16("A"), VORLAN_U16("k "), VORLAN_U16("v")}}, whole},
        {"'=' inside a value", VORLAN_U16("[A]\r\nk=v=w\r\n"), {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v=w")}}, whole},
        {"a second section of the same name replaces the first", VORLAN_U16("[A]\r\nx=1\r\n[A]\r\ny=2\r\n"),
         {{VORLAN_U16("A"), VORLAN_U16("y"), VORLAN_U16("2")}}, whole},
        {"only a header", VORLAN_U16("[A]\r\n"), {{VORLAN_U16("A"), VORLAN_U16(""), none}}, cut},
        {"no comments: the key starts at the first letter", VORLAN_U16("[A]\r\n;c=1\r\n"),
         {{VORLAN_U16("A"), VORLAN_U16("c"), VORLAN_U16("1")}}, whole},
        {"line feeds alone", VORLAN_U16("[A]\nk=v\n"), {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}}, whole},
        {"text before the first section is ignored", VORLAN_U16("junk=1\r\n[A]\r\nk=v\r\n"),
         {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}}, whole},
        {"a name holding brackets", VORLAN_U16("[\\My Documents\\Report [v2].doc]\r\nCRC=5\r\n"),
         {{VORLAN_U16("\\My Documents\\Report [v2].doc"), VORLAN_U16("CRC"), VORLAN_U16("5")}}, whole},
        {"a name ending in ']'", VORLAN_U16("[a]]\r\nk=v\r\n"), {{VORLAN_U16("a]"), VORLAN_U16("k"), VORLAN_U16("v")}}, whole},
        {"blanks after the closing ']'", VORLAN_U16("[A] \t\r\nk=v\r\n"), {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}}, whole},
        {"empty text", VORLAN_U16(""), {}, cut},
        {"truncated in a header", VORLAN_U16("[A]\r\nk=v\r\n[B"), {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}}, cut},
        {"truncated in a key", VORLAN_U16("[A]\r\nk=v\r\nke"), {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}}, cut},
        {"zero characters after the records", String16(VORLAN_U16("[A]\r\nk=v\r\n\0\0[B]\r\nx=1\r\n"), 22),
         {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}}, damaged},
        {"a zero character in the middle", String16(VORLAN_U16("[A]\r\nk=v\r\n[B]\r\nx\0=1\r\n[C]\r\ny=2\r\n"), 31),
         {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}, {VORLAN_U16("B"), VORLAN_U16(""), none}}, damaged},
        {"a key line without '=' before other lines", VORLAN_U16("[A]\r\nk=v\r\nbroken\r\n[B]\r\nx=1\r\n"),
         {{VORLAN_U16("A"), VORLAN_U16("broken\r\n[B]\r\nx"), VORLAN_U16("1")}, {VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}},
         damaged},
        {"a header without ']' before other lines", VORLAN_U16("[A]\r\nk=v\r\n[B\r\nx=1\r\n[C]\r\ny=2\r\n"),
         {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}, {VORLAN_U16("B\r\nx=1\r\n[C"), VORLAN_U16("y"), VORLAN_U16("2")}},
         damaged},
        {"a last key line without '=' and its line end", VORLAN_U16("[A]\r\nk=v\r\nbroken\r\n"),
         {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}}, damaged},
        {"no section, only other text", VORLAN_U16("k=v\r\n"), {}, damaged},
        {"no section, only line ends and blanks", VORLAN_U16("\r\n \t\r\n"), {}, cut},
        {"cut in the value's line end", VORLAN_U16("[A]\r\nk=v\r\n[B]\r\nx=1\r"),
         {{VORLAN_U16("A"), VORLAN_U16("k"), VORLAN_U16("v")}, {VORLAN_U16("B"), VORLAN_U16("x"), VORLAN_U16("1")}}, whole},
    };
    for (const Case& c : cases) {
        CIniSet set;
        EXPECT_EQ(set.Parse(c.text), c.read) << c.note;
        EXPECT_EQ(Contents(set), c.want) << c.note;
    }
}

std::string Bytes(std::initializer_list<const char*> lines) {
    std::string ascii;
    for (const char* line : lines) ascii += line;
    std::string bytes;
    for (char c : ascii) bytes += {c, '\0'};
    return bytes;
}

TEST(IniFormatTest, StoredBytes) {
    CIniSet set;
    EXPECT_EQ(Utf16LeBytes(set.Format()), "") << "no sections: no bytes";
    set.AddSection(VORLAN_U16("S")).SetValue(VORLAN_U16("k"), VORLAN_U16("v"));
    EXPECT_EQ(Utf16LeBytes(set.Format()), Bytes({"[S]\r\n", "k=v\r\n", "\r\n"}));
    set.AddSection(VORLAN_U16("T"));
    EXPECT_EQ(Utf16LeBytes(set.Format()), Bytes({"[S]\r\n", "k=v\r\n", "\r\n", "[T]\r\n", "\r\n"}));

    String16 text = VORLAN_U16("\x00e9\x4e2d");
    EXPECT_EQ(Utf16LeBytes(text), std::string("\xE9\x00\x2D\x4E", 4)) << "little-endian, no byte-order mark";
}

TEST(IniFormatTest, RoundTripKeepsEverySectionAndKey) {
    CIniSet set;
    CIniSection& report = set.AddSection(VORLAN_U16("\\My Documents\\Report [v2].doc"));
    report.SetValue(VORLAN_U16("CRC"), VORLAN_U16("4294967295"));
    report.SetValue(VORLAN_U16("Conflitant"), VORLAN_U16("NO_CONFLICT"));
    set.AddSection(VORLAN_U16("a]")).SetValue(VORLAN_U16("k"), VORLAN_U16("x=[y]"));
    set.AddSection(VORLAN_U16("\\Caf\x00e9 \x4e2d\\n=1")).SetValue(VORLAN_U16("1st key"), VORLAN_U16(""));
    set.AddSection(VORLAN_U16("A")).SetValue(VORLAN_U16("k"), VORLAN_U16("v"));

    bool whole = false;
    CIniSet back;
    EXPECT_EQ(back.Parse(TextFromUtf16Le(Utf16LeBytes(set.Format()), &whole)), IniText::kComplete);
    EXPECT_TRUE(whole);
    EXPECT_EQ(Contents(back), Contents(set));
}

TEST(IniFormatTest, HalfACharacterIsReported) {
    bool whole = true;
    EXPECT_EQ(TextFromUtf16Le(std::string("A\0B", 3), &whole), VORLAN_U16("A"));
    EXPECT_FALSE(whole);
}

TEST(IniSetTest, SectionsAndKeys) {
    CIniSet set;
    EXPECT_EQ(set.FindSection(VORLAN_U16("A")), nullptr);
    set.AddSection(VORLAN_U16("A")).SetValue(VORLAN_U16("k"), VORLAN_U16("1"));
    set.FindSection(VORLAN_U16("A"))->SetValue(VORLAN_U16("k"), VORLAN_U16("2"));
    EXPECT_EQ(*set.FindSection(VORLAN_U16("A"))->GetValue(VORLAN_U16("k")), VORLAN_U16("2"));
    EXPECT_EQ(set.FindSection(VORLAN_U16("a")), nullptr) << "names are case-sensitive";
    EXPECT_EQ(set.FindSection(VORLAN_U16("A"))->GetValue(VORLAN_U16("K")), nullptr) << "keys are case-sensitive";

    EXPECT_TRUE(set.FindSection(VORLAN_U16("A"))->RemoveKey(VORLAN_U16("k")));
    EXPECT_FALSE(set.FindSection(VORLAN_U16("A"))->RemoveKey(VORLAN_U16("k")));
    set.AddSection(VORLAN_U16("A"), {});
    EXPECT_TRUE(set.FindSection(VORLAN_U16("A"))->empty()) << "adding replaces";
    EXPECT_TRUE(set.RemoveSection(VORLAN_U16("A")));
    EXPECT_FALSE(set.RemoveSection(VORLAN_U16("A")));
    set.AddSection(VORLAN_U16("B"));
    set.RemoveAll();
    EXPECT_TRUE(set.empty());
}

}  // namespace
}  // namespace vorlan
