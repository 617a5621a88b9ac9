#pragma once
// Lays a page out at a width: text flows in lines and wraps at word
// boundaries, block elements stack, tables share their width among their
// columns, images and controls sit in the line like words. The result is
// what the host paints (texts, boxes, images) and where it puts its real
// controls (radios, buttons, links); every element's box is left on it.
#include <windows.h>

#include <string>
#include <vector>

#include "HtmlStyle.h"
#include "HtmlTree.h"

namespace vorlan {

enum class HtmlControlKind { Radio, Button, Link };

struct HtmlPaintText {
    RECT rect;
    std::wstring text;
    HtmlStyle style;
};
struct HtmlPaintBox {
    RECT rect;
    COLORREF color;
    bool frame;  // an outline, else filled
};
struct HtmlPaintImage {
    RECT rect;
    std::string source;
};
struct HtmlControlPlace {
    HtmlNode* node;
    HtmlControlKind kind;
    RECT rect;
    std::string text;
    HtmlStyle style;
};
struct HtmlLayoutResult {
    std::vector<HtmlPaintText> texts;
    std::vector<HtmlPaintBox> boxes;
    std::vector<HtmlPaintImage> images;
    std::vector<HtmlControlPlace> controls;
    int height = 0;
};

// How big things are; the host answers with its fonts and images.
class HtmlMeasure {
public:
    virtual ~HtmlMeasure() = default;
    virtual SIZE Text(const std::wstring& text, const HtmlStyle& style) = 0;
    // {0, 0} when the image is not there.
    virtual SIZE Image(const std::string& source) = 0;
};

// Lays out the children of root (the page's html or body element).
HtmlLayoutResult LayoutPage(HtmlNode& root, const HtmlStyle& rootStyle, const HtmlStyleSheet& sheet,
                            HtmlMeasure& measure, int width);

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

}  // namespace vorlan
