#pragma once
// The little style a page may carry: colour, background, font and
// alignment, chosen by tag, class or id in a style sheet and by an
// element's own style attribute. Unknown properties and selectors are
// skipped.
#include <windows.h>

#include <string>
#include <vector>

namespace vorlan {

struct HtmlNode;

struct HtmlStyle {
    COLORREF color = RGB(0, 0, 0);
    bool hasBackground = false;  // backgrounds are not inherited
    COLORREF background = RGB(255, 255, 255);
    int fontSize = 13;  // pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::string align = "left";  // left, center, right
};

// "#rgb", "#rrggbb" or a few colour names; false when not one.
bool ParseColor(const std::string& text, COLORREF& color);

class HtmlStyleSheet {
public:
    // Adds the rules of a sheet ("h1, .note { color: #800000 }").
    void Parse(const std::string& css);
    // The style of element under parent's: what the tag gives, then the
    // sheet's tag, class and id rules, then its style attribute.
    HtmlStyle StyleOf(const HtmlNode& element, const HtmlStyle& parent) const;

private:
    struct Rule {
        char kind;  // 't' tag, '.' class, '#' id
        std::string name;
        std::string declarations;
    };
    std::vector<Rule> rules_;
};

// Applies "name: value; ..." to style.
void ApplyDeclarations(const std::string& declarations, HtmlStyle& style);

}  // namespace vorlan
