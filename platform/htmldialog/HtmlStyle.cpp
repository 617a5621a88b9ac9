#include "HtmlStyle.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

#include "HtmlTree.h"

namespace vorlan {
namespace {

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return "";
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "12px", "10pt", "12" in pixels; 0 when not a size.
int ParseFontSize(const std::string& text) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || value <= 0 || value > 200) return 0;
    std::string unit = Trim(end);
    if (unit == "pt") return static_cast<int>(value * 4 / 3);
    return unit.empty() || unit == "px" ? static_cast<int>(value) : 0;
}

struct TagLook {
    const char* tag;
    int fontSize;
    bool bold;
    bool italic;
};
const TagLook kTagLooks[] = {
    {"h1", 24, true, false}, {"h2", 19, true, false}, {"h3", 16, true, false}, {"h4", 13, true, false},
    {"b", 0, true, false},   {"strong", 0, true, false}, {"i", 0, false, true}, {"em", 0, false, true},
    {"th", 0, true, false},
};

}  // namespace

bool ParseColor(const std::string& text, COLORREF& color) {
    std::string value = Lower(Trim(text));
    static const struct {
        const char* name;
        COLORREF color;
    } names[] = {
        {"black", RGB(0, 0, 0)},       {"white", RGB(255, 255, 255)}, {"red", RGB(255, 0, 0)},
        {"green", RGB(0, 128, 0)},     {"blue", RGB(0, 0, 255)},      {"navy", RGB(0, 0, 128)},
        {"gray", RGB(128, 128, 128)},  {"silver", RGB(192, 192, 192)}, {"maroon", RGB(128, 0, 0)},
        {"yellow", RGB(255, 255, 0)},
    };
    for (const auto& named : names)
        if (value == named.name) {
            color = named.color;
            return true;
        }
    if (value.size() != 4 && value.size() != 7) return false;
    if (value[0] != '#') return false;
    int digits[6];
    for (size_t i = 1; i < value.size(); ++i)
        if ((digits[i - 1] = HexDigit(value[i])) < 0) return false;
    if (value.size() == 4)
        color = RGB(digits[0] * 17, digits[1] * 17, digits[2] * 17);
    else
        color = RGB(digits[0] * 16 + digits[1], digits[2] * 16 + digits[3], digits[4] * 16 + digits[5]);
    return true;
}

void ApplyDeclarations(const std::string& declarations, HtmlStyle& style) {
    std::stringstream stream(declarations);
    std::string declaration;
    while (std::getline(stream, declaration, ';')) {
        size_t colon = declaration.find(':');
        if (colon == std::string::npos) continue;
        std::string name = Lower(Trim(declaration.substr(0, colon)));
        std::string value = Trim(declaration.substr(colon + 1));
        std::string lower = Lower(value);
        COLORREF color;
        if (name == "color" && ParseColor(value, color)) {
            style.color = color;
        } else if ((name == "background" || name == "background-color") && ParseColor(value, color)) {
            style.hasBackground = true;
            style.background = color;
        } else if (name == "font-weight") {
            style.bold = lower == "bold" || std::atoi(lower.c_str()) >= 600;
        } else if (name == "font-style") {
            style.italic = lower == "italic" || lower == "oblique";
        } else if (name == "font-size") {
            if (int size = ParseFontSize(lower)) style.fontSize = size;
        } else if (name == "text-align" && (lower == "left" || lower == "center" || lower == "right")) {
            style.align = lower;
        } else if (name == "text-decoration") {
            style.underline = lower == "underline";
        }
    }
}

void HtmlStyleSheet::Parse(const std::string& css) {
    std::string text;
    // Comments go first, so braces inside them mean nothing.
    for (size_t i = 0; i < css.size(); ++i) {
        if (css.compare(i, 2, "/*") == 0) {
            size_t end = css.find("*/", i + 2);
            if (end == std::string::npos) break;
            i = end + 1;
            continue;
        }
        text += css[i];
    }
    size_t at = 0;
    while (true) {
        size_t open = text.find('{', at);
        if (open == std::string::npos) return;
        size_t close = text.find('}', open);
        if (close == std::string::npos) return;
        std::string declarations = text.substr(open + 1, close - open - 1);
        std::stringstream selectors(text.substr(at, open - at));
        std::string selector;
        while (std::getline(selectors, selector, ',')) {
            selector = Trim(selector);
            if (selector.empty()) continue;
            bool simple = selector.find_first_of(" >+~:[*") == std::string::npos;
            if (!simple) continue;  // only single tags, classes and ids
            if (selector[0] == '.' || selector[0] == '#')
                rules_.push_back({selector[0], selector.substr(1), declarations});
            else
                rules_.push_back({'t', Lower(selector), declarations});
        }
        at = close + 1;
    }
}

HtmlStyle HtmlStyleSheet::StyleOf(const HtmlNode& element, const HtmlStyle& parent) const {
    HtmlStyle style = parent;
    style.hasBackground = false;
    for (const TagLook& look : kTagLooks)
        if (element.tag == look.tag) {
            if (look.fontSize) style.fontSize = look.fontSize;
            style.bold = style.bold || look.bold;
            style.italic = style.italic || look.italic;
        }
    if (element.tag == "center") style.align = "center";
    std::string align = Lower(element.Attribute("align"));
    if (element.tag != "table" && element.tag != "img" &&
        (align == "left" || align == "center" || align == "right"))
        style.align = align;
    if (element.tag == "a") {
        style.color = RGB(0, 0, 204);
        style.underline = true;
    }
    std::string classes = " " + element.Attribute("class") + " ";
    std::string id = element.Attribute("id");
    for (char kind : {'t', '.', '#'})
        for (const Rule& rule : rules_) {
            if (rule.kind != kind) continue;
            bool matches = kind == 't'   ? rule.name == element.tag
                           : kind == '.' ? classes.find(" " + rule.name + " ") != std::string::npos
                                         : !id.empty() && rule.name == id;
            if (matches) ApplyDeclarations(rule.declarations, style);
        }
    COLORREF color;
    if (ParseColor(element.Attribute("bgcolor"), color)) {
        style.hasBackground = true;
        style.background = color;
    }
    ApplyDeclarations(element.Attribute("style"), style);
    return style;
}

}  // namespace vorlan
