// The host's pieces without a window: escaping, parsing, style and layout.
#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>

#include <string>

#include "HtmlEscape.h"
#include "HtmlLayout.h"
#include "HtmlStyle.h"
#include "HtmlTree.h"

namespace vorlan {
namespace {

class ComScope : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

TEST(HtmlEscapeTest, OnlyTheMarkupCharactersChange) {
    const struct {
        const char* text;
        const char* escaped;
    } cases[] = {
        {"", ""},
        {"plain", "plain"},
        {"R&D", "R&amp;D"},
        {"a<b>c", "a&lt;b&gt;c"},
        {"\"quoted\" 'single'", "&quot;quoted&quot; &#39;single&#39;"},
        {"two  blanks %DeviceFile%", "two  blanks %DeviceFile%"},
        {"\xD0\x94\xD0\xB0 \xE6\x97\xA5", "\xD0\x94\xD0\xB0 \xE6\x97\xA5"},
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeHtml(c.text), c.escaped) << c.text;
}

using HtmlTreeTest = ComScope;

TEST_F(HtmlTreeTest, EscapedTextParsesBackToItself) {
    const std::string texts[] = {"R&D", "a<b", "two  blanks", "%DeviceFile%", "\xD0\x94\xD0\xB0 \xE6\x97\xA5",
                                 "\"'><&"};
    for (const std::string& text : texts) {
        HtmlNode root;
        std::string error;
        ASSERT_TRUE(ParseXhtml("<p id=\"x\">" + EscapeHtml(text) + "</p>", root, error)) << text << ": " << error;
        HtmlNode* p = FindById(root, "x");
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(TextOf(*p), text);
    }
}

TEST_F(HtmlTreeTest, EntitiesAttributesAndUnknownElements) {
    HtmlNode root;
    std::string error;
    ASSERT_TRUE(ParseXhtml("<HTML><body><P ID=\"a\" Class=\"c\">&lt;&#169;&#x20AC;<blink>kept</blink></P>"
                           "<input type=\"radio\" id=\"r\" checked=\"checked\" disabled=\"disabled\"/></body></HTML>",
                           root, error))
        << error;
    HtmlNode* p = FindById(root, "a");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->tag, "p");
    EXPECT_EQ(p->Attribute("class"), "c");
    EXPECT_EQ(TextOf(*p), "<\xC2\xA9\xE2\x82\xAC" "kept");
    HtmlNode* radio = FindById(root, "r");
    ASSERT_NE(radio, nullptr);
    EXPECT_TRUE(radio->checked);
    EXPECT_TRUE(radio->disabled);
    EXPECT_EQ(radio->parent->tag, "body");
}

TEST_F(HtmlTreeTest, WhatDoesNotParseFailsAndLeavesChildrenAlone) {
    const char* broken[] = {"<p>open", "<b>a</i>", "a &nbsp; b", "&", "<p a=b/>"};
    for (const char* text : broken) {
        HtmlNode root;
        std::string error;
        EXPECT_FALSE(ParseXhtml(text, root, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        HtmlNode parent;
        std::vector<std::unique_ptr<HtmlNode>> children;
        children.push_back(std::make_unique<HtmlNode>());
        EXPECT_FALSE(ParseFragment(text, &parent, children, error)) << text;
        EXPECT_EQ(children.size(), 1u) << text;
    }
    HtmlNode parent;
    std::vector<std::unique_ptr<HtmlNode>> children;
    std::string error;
    ASSERT_TRUE(ParseFragment("one <b>two</b> three", &parent, children, error)) << error;
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[1]->tag, "b");
    EXPECT_EQ(children[1]->parent, &parent);
}

TEST(HtmlStyleTest, ColoursAndRulesByTagClassIdAndAttribute) {
    const struct {
        const char* text;
        bool valid;
        COLORREF color;
    } colors[] = {
        {"#fff", true, RGB(255, 255, 255)}, {"#1E3C78", true, RGB(0x1e, 0x3c, 0x78)}, {" navy ", true, RGB(0, 0, 128)},
        {"#12345", false, 0},              {"#ggg", false, 0},                       {"rgb(1,2,3)", false, 0},
    };
    for (const auto& c : colors) {
        COLORREF color = 0;
        EXPECT_EQ(ParseColor(c.text, color), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(color, c.color) << c.text;
        }
    }
    HtmlStyleSheet sheet;
    sheet.Parse("/* { no rule } */ p { color: red; font-size: 10pt } .note, h2 { color: #00f; font-style: italic }"
                " #id { color: green; text-align: center } div p { color: yellow } td { background: #eee }");
    HtmlNode p;
    p.tag = "p";
    HtmlStyle base;
    EXPECT_EQ(sheet.StyleOf(p, base).color, RGB(255, 0, 0));
    EXPECT_EQ(sheet.StyleOf(p, base).fontSize, 13);
    p.attributes = {{"class", "x note"}};
    EXPECT_EQ(sheet.StyleOf(p, base).color, RGB(0, 0, 255)) << "class after tag";
    EXPECT_TRUE(sheet.StyleOf(p, base).italic);
    p.attributes = {{"class", "note"}, {"id", "id"}};
    EXPECT_EQ(sheet.StyleOf(p, base).color, RGB(0, 128, 0)) << "id after class";
    EXPECT_EQ(sheet.StyleOf(p, base).align, "center");
    p.attributes.push_back({"style", "color: #010203; font-weight: bold"});
    EXPECT_EQ(sheet.StyleOf(p, base).color, RGB(1, 2, 3)) << "own style last";
    EXPECT_TRUE(sheet.StyleOf(p, base).bold);
    HtmlNode td;
    td.tag = "td";
    HtmlStyle cell = sheet.StyleOf(td, base);
    EXPECT_TRUE(cell.hasBackground);
    HtmlNode span;
    span.tag = "span";
    EXPECT_FALSE(sheet.StyleOf(span, cell).hasBackground) << "backgrounds are not inherited";
    HtmlNode h1;
    h1.tag = "h1";
    EXPECT_TRUE(sheet.StyleOf(h1, base).bold);
    EXPECT_GT(sheet.StyleOf(h1, base).fontSize, base.fontSize);
}

// Every character 7 pixels wide and 15 high, images 32 by 32.
class FixedMeasure : public HtmlMeasure {
public:
    SIZE Text(const std::wstring& text, const HtmlStyle&) override { return {static_cast<LONG>(text.size()) * 7, 15}; }
    SIZE Image(const std::string& source) override { return source == "there" ? SIZE{32, 32} : SIZE{0, 0}; }
};

struct Laid {
    HtmlNode root;
    HtmlLayoutResult result;
};

std::unique_ptr<Laid> Lay(const std::string& body, int width) {
    auto laid = std::make_unique<Laid>();
    std::string error;
    EXPECT_TRUE(ParseXhtml("<html><body>" + body + "</body></html>", laid->root, error)) << error;
    FixedMeasure measure;
    HtmlStyleSheet sheet;
    laid->result = LayoutPage(*laid->root.children.front(), HtmlStyle{}, sheet, measure, width);
    return laid;
}

using HtmlLayoutTest = ComScope;

TEST_F(HtmlLayoutTest, TextWrapsAtWordsAndBlocksStack) {
    // Page margins of 8 leave 100 pixels: "aaaa bbbb cccc" is 14 characters (98 px) and fits; one more word wraps.
    auto laid = Lay("<p id=\"p\">aaaa bbbb cccc dddd</p><div id=\"d\">next</div>", 116);
    const auto& texts = laid->result.texts;
    ASSERT_EQ(texts.size(), 3u) << "a line's words of one look are one run";
    EXPECT_EQ(texts[0].text, L"aaaa bbbb cccc");
    EXPECT_EQ(texts[0].rect.right, 8 + 98);
    EXPECT_EQ(texts[1].text, L"dddd");
    EXPECT_GT(texts[1].rect.top, texts[0].rect.top) << "dddd wraps";
    EXPECT_EQ(texts[1].rect.left, 8);
    RECT p = FindById(laid->root, "p")->box, d = FindById(laid->root, "d")->box;
    EXPECT_GE(d.top, p.bottom) << "blocks stack";
    EXPECT_EQ(laid->result.height, d.bottom + 8);
}

TEST_F(HtmlLayoutTest, AWordWiderThanTheLineBreaksAfterASeparatorOrWhereItFits) {
    // 100 pixels: 14 characters of 7.
    const struct {
        const char* text;
        std::vector<std::wstring> lines;
    } cases[] = {
        {"C:\\Users\\someone\\Documents\\Report.doc",
         {L"C:\\Users\\", L"someone\\", L"Documents\\", L"Report.doc"}},
        {"abcdefghijklmnopqrstuvwxyz", {L"abcdefghijklmn", L"opqrstuvwxyz"}},
        {"\\Top\\abcdefghijklmnopq", {L"\\Top\\", L"abcdefghijklmn", L"opq"}},
        {"short C:\\a\\b.txt", {L"short", L"C:\\a\\b.txt"}},  // a word that fits a line wraps whole
    };
    for (const auto& c : cases) {
        auto laid = Lay(std::string("<p id=\"p\">") + c.text + "</p>", 116);
        std::vector<std::wstring> lines;
        for (const auto& text : laid->result.texts) {
            EXPECT_LE(text.rect.right, 8 + 100) << c.text;
            lines.push_back(text.text);
        }
        EXPECT_EQ(lines, c.lines) << c.text;
        EXPECT_EQ(TextOf(*FindById(laid->root, "p")), c.text) << "the element's text stays whole";
    }
}

TEST_F(HtmlLayoutTest, RunsBreakAtAChangeOfLookOrAControl) {
    auto laid = Lay("<p>one two<b>bold</b> three <button>x</button> four five</p>", 600);
    std::vector<std::wstring> runs;
    for (const auto& text : laid->result.texts) runs.push_back(text.text);
    EXPECT_EQ(runs, (std::vector<std::wstring>{L"one two", L"bold", L"three", L"four five"}));
}

TEST_F(HtmlLayoutTest, TablesShareWidthByAttributeAndColspanAndAlign) {
    auto laid = Lay("<table id=\"t\" width=\"200\" cellpadding=\"0\">"
                    "<tr><td id=\"all\" colspan=\"3\" align=\"center\">mid</td></tr>"
                    "<tr><td id=\"a\" width=\"50%\">a</td><td id=\"b\">b</td><td id=\"c\" align=\"right\">c</td></tr>"
                    "</table>",
                    400);
    auto box = [&](const char* id) { return FindById(laid->root, id)->box; };
    EXPECT_EQ(box("t").right - box("t").left, 200);
    EXPECT_EQ(box("all").right - box("all").left, 200);
    EXPECT_EQ(box("a").right - box("a").left, 100);
    EXPECT_EQ(box("b").right - box("b").left, 50);
    EXPECT_EQ(box("c").left, box("b").right);
    EXPECT_EQ(box("a").top, box("all").bottom);
    const auto& texts = laid->result.texts;
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].rect.left, 8 + (200 - 21) / 2) << "centred";
    EXPECT_EQ(texts[3].rect.right, 8 + 200) << "right aligned";
}

TEST_F(HtmlLayoutTest, ControlsAndImagesSitInTheLine) {
    auto laid = Lay("<p><input type=\"radio\" id=\"r\" name=\"n\"/>label <button id=\"b\">Go</button>"
                    " <a id=\"l\" href=\"x\">link text</a> <a id=\"plain\">not a link</a>"
                    " <img id=\"i\" src=\"there\"/><img id=\"gone\" src=\"missing\"/></p>",
                    600);
    const auto& controls = laid->result.controls;
    ASSERT_EQ(controls.size(), 3u);
    EXPECT_EQ(controls[0].kind, HtmlControlKind::Radio);
    EXPECT_EQ(controls[1].kind, HtmlControlKind::Button);
    EXPECT_EQ(controls[1].text, "Go");
    EXPECT_EQ(controls[2].kind, HtmlControlKind::Link);
    EXPECT_EQ(controls[2].text, "link text");
    EXPECT_LT(controls[0].rect.right, controls[1].rect.left);
    EXPECT_LT(controls[1].rect.right, controls[2].rect.left);
    ASSERT_EQ(laid->result.images.size(), 2u);
    RECT image = FindById(laid->root, "i")->box;
    EXPECT_EQ(image.right - image.left, 32);
    EXPECT_EQ(image.bottom - image.top, 32);
}

}  // namespace
}  // namespace vorlan
