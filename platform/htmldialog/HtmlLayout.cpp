#include "HtmlLayout.h"

#include <algorithm>
#include <functional>
#include <cwctype>
#include <numeric>

namespace vorlan {
namespace {

constexpr int kLineGap = 2;
constexpr int kBlockMargin = 6;
constexpr int kRadioSize = 16;
constexpr int kButtonHeight = 23;

bool IsOneOf(const std::string& tag, std::initializer_list<const char*> tags) {
    return std::any_of(tags.begin(), tags.end(), [&](const char* t) { return tag == t; });
}

bool IsSkipped(const std::string& tag) { return IsOneOf(tag, {"head", "title", "style", "script", "link", "meta"}); }
bool IsBlock(const std::string& tag) {
    return IsOneOf(tag, {"html", "body", "div", "p", "center", "h1", "h2", "h3", "h4", "form", "fragment"});
}
bool HasMargin(const std::string& tag) { return IsOneOf(tag, {"p", "h1", "h2", "h3", "h4"}); }

// "40%" of whole, or "120" pixels; fallback when neither.
int Length(const std::string& text, int whole, int fallback) {
    if (text.empty()) return fallback;
    int value = std::atoi(text.c_str());
    if (value <= 0) return fallback;
    if (text.back() == '%') return whole * std::min(value, 100) / 100;
    return std::min(value, whole);
}

void Grow(RECT& box, const RECT& rect) {
    if (IsRectEmpty(&box))
        box = rect;
    else
        UnionRect(&box, &box, &rect);
}

void ClearBoxes(HtmlNode& node) {
    node.box = {};
    for (auto& child : node.children) ClearBoxes(*child);
}

class Layouter {
public:
    Layouter(const HtmlStyleSheet& sheet, HtmlMeasure& measure, HtmlNode& root)
        : sheet_(sheet), measure_(measure), root_(root) {}

    struct Context {
        int left;
        int right;
        int y;
        std::string align;
    };

    void Block(HtmlNode& node, const HtmlStyle& style, Context& context) {
        Flush(context, style, false);
        if (HasMargin(node.tag)) context.y += kBlockMargin;
        int top = context.y;
        size_t background = Reserve(style);
        Context inner = {context.left, context.right, context.y, style.align};
        Children(node, style, inner);
        Flush(inner, style, false);
        context.y = inner.y;
        RECT rect = {context.left, top, context.right, context.y};
        Settle(background, rect);
        Grow(node.box, rect);
        if (HasMargin(node.tag)) context.y += kBlockMargin;
    }

    void Children(HtmlNode& node, const HtmlStyle& style, Context& context) {
        for (auto& child : node.children) Flow(*child, style, context);
    }

    void Flow(HtmlNode& node, const HtmlStyle& parentStyle, Context& context) {
        if (node.IsText()) {
            Words(node, parentStyle, context);
            return;
        }
        if (IsSkipped(node.tag)) return;
        HtmlStyle style = sheet_.StyleOf(node, parentStyle);
        if (node.tag == "br") {
            Flush(context, style, true);
        } else if (node.tag == "hr") {
            Flush(context, style, false);
            RECT rect = {context.left, context.y + 4, context.right, context.y + 6};
            result_.boxes.push_back({rect, RGB(160, 160, 160), false});
            node.box = rect;
            context.y += 10;
        } else if (node.tag == "img") {
            SIZE natural = measure_.Image(node.Attribute("src"));
            int width = Length(node.Attribute("width"), context.right - context.left, natural.cx);
            int height = Length(node.Attribute("height"), 10000, natural.cy);
            Item item{Item::Image, L"", style, width, height, &node};
            item.source = node.Attribute("src");
            Add(item, context, style, false);
        } else if (node.tag == "input") {
            std::string type = node.Attribute("type");
            if (type == "radio") {
                Add({Item::Control, L"", style, kRadioSize + 2, kRadioSize, &node, HtmlControlKind::Radio}, context,
                    style, true);
            } else if (type == "button" || type == "submit") {
                AddButton(node, node.Attribute("value"), style, context);
            }
        } else if (node.tag == "button") {
            AddButton(node, TextOf(node), style, context);
        } else if (node.tag == "a" && node.HasAttribute("href")) {
            std::string text = Collapse(TextOf(node));
            SIZE size = measure_.Text(WideFromUtf8(text), style);
            Item item{Item::Control, L"", style, static_cast<int>(size.cx) + 2, static_cast<int>(size.cy), &node,
                      HtmlControlKind::Link};
            item.label = text;
            Add(item, context, style, true);
        } else if (node.tag == "table") {
            Table(node, style, context);
        } else if (IsBlock(node.tag)) {
            Block(node, style, context);
        } else {
            Children(node, style, context);  // inline: span, b, i, and what is not known
        }
    }

    void AddButton(HtmlNode& node, const std::string& label, const HtmlStyle& style, Context& context) {
        std::string text = Collapse(label);
        SIZE size = measure_.Text(WideFromUtf8(text), style);
        Item item{Item::Control, L"", style, static_cast<int>(size.cx) + 24,
                  std::max(kButtonHeight, static_cast<int>(size.cy) + 8), &node, HtmlControlKind::Button};
        item.label = text;
        Add(item, context, style, true);
    }

    void Words(HtmlNode& node, const HtmlStyle& style, Context& context) {
        std::wstring text = WideFromUtf8(node.text);
        size_t at = 0;
        while (at < text.size()) {
            if (std::iswspace(text[at])) {
                space_ = true;
                ++at;
                continue;
            }
            size_t end = at;
            while (end < text.size() && !std::iswspace(text[end])) ++end;
            std::wstring word = text.substr(at, end - at);
            SIZE size = measure_.Text(word, style);
            // A word wider than a whole line (a long path) is broken where
            // it fits, after a backslash or slash when there is one, rather
            // than running out of its cell.
            const int room = context.right - context.left;
            while (size.cx > room && word.size() > 1) {
                size_t fits = Fitting(word, style, room);
                const size_t separator = word.find_last_of(L"\\/", fits - 1);
                if (separator != std::wstring::npos && separator > 0) fits = separator + 1;
                const std::wstring piece = word.substr(0, fits);
                const SIZE pieceSize = measure_.Text(piece, style);
                Add({Item::Text, piece, style, static_cast<int>(pieceSize.cx), static_cast<int>(pieceSize.cy),
                     node.parent},
                    context, style, false);
                word.erase(0, fits);
                size = measure_.Text(word, style);
            }
            Add({Item::Text, word, style, static_cast<int>(size.cx), static_cast<int>(size.cy), node.parent}, context,
                style, false);
            at = end;
        }
    }

    // The length of the longest start of word that fits room (at least 1).
    size_t Fitting(const std::wstring& word, const HtmlStyle& style, int room) {
        size_t low = 1, high = word.size();
        while (low < high) {
            const size_t middle = (low + high + 1) / 2;
            if (measure_.Text(word.substr(0, middle), style).cx <= room)
                low = middle;
            else
                high = middle - 1;
        }
        return low;
    }

    void Table(HtmlNode& table, const HtmlStyle& style, Context& context) {
        Flush(context, style, false);
        std::vector<std::pair<HtmlNode*, std::vector<HtmlNode*>>> rows;
        std::function<void(HtmlNode&)> collect = [&](HtmlNode& parent) {
            for (auto& child : parent.children) {
                if (child->tag == "tr") {
                    std::vector<HtmlNode*> cells;
                    for (auto& cell : child->children)
                        if (cell->tag == "td" || cell->tag == "th") cells.push_back(cell.get());
                    rows.emplace_back(child.get(), cells);
                } else if (IsOneOf(child->tag, {"thead", "tbody", "tfoot"})) {
                    collect(*child);
                }
            }
        };
        collect(table);
        auto span = [](HtmlNode* cell) { return std::max(1, std::atoi(cell->Attribute("colspan").c_str())); };
        int columns = 1;
        for (auto& [row, cells] : rows) {
            int count = 0;
            for (HtmlNode* cell : cells) count += span(cell);
            columns = std::max(columns, count);
        }
        int available = context.right - context.left;
        int width = Length(table.Attribute("width"), available, available);
        int left = context.left;
        std::string align = table.Attribute("align");
        if (align == "center") left += (available - width) / 2;
        if (align == "right") left += available - width;
        std::vector<int> widths(columns, -1);
        for (auto& [row, cells] : rows) {
            int column = 0;
            for (HtmlNode* cell : cells) {
                if (span(cell) == 1 && cell->HasAttribute("width") && widths[column] < 0)
                    widths[column] = Length(cell->Attribute("width"), width, 0);
                column += span(cell);
            }
        }
        int fixed = 0, open = 0;
        for (int w : widths) (w < 0 ? open : fixed) += (w < 0 ? 1 : w);
        int rest = std::max(0, width - fixed);
        for (int& w : widths)
            if (w < 0) {
                w = rest / open--;  // the last open column takes what division leaves
                rest -= w;
            }
        int padding = table.HasAttribute("cellpadding") ? std::atoi(table.Attribute("cellpadding").c_str()) : 2;
        bool border = std::atoi(table.Attribute("border").c_str()) > 0;
        int top = context.y;
        size_t background = Reserve(style);
        for (auto& [row, cells] : rows) {
            HtmlStyle rowStyle = sheet_.StyleOf(*row, style);
            int rowTop = context.y;
            size_t rowBackground = Reserve(rowStyle);
            int column = 0, rowHeight = 0;
            std::vector<std::pair<HtmlNode*, RECT>> placed;
            std::vector<std::pair<size_t, HtmlStyle>> cellBackgrounds;
            for (HtmlNode* cell : cells) {
                int x = left + std::accumulate(widths.begin(), widths.begin() + std::min(column, columns), 0);
                int end = std::min(columns, column + span(cell));
                int w = std::accumulate(widths.begin() + std::min(column, columns), widths.begin() + end, 0);
                column += span(cell);
                HtmlStyle cellStyle = sheet_.StyleOf(*cell, rowStyle);
                size_t cellBackground = Reserve(cellStyle);
                Context inner = {x + padding, x + w - padding, rowTop + padding, cellStyle.align};
                Children(*cell, cellStyle, inner);
                Flush(inner, cellStyle, false);
                rowHeight = std::max(rowHeight, inner.y + padding - rowTop);
                placed.push_back({cell, RECT{x, rowTop, x + w, 0}});
                cellBackgrounds.push_back({cellBackground, cellStyle});
            }
            for (size_t i = 0; i < placed.size(); ++i) {
                RECT rect = placed[i].second;
                rect.bottom = rowTop + rowHeight;
                Settle(cellBackgrounds[i].first, rect);
                Grow(placed[i].first->box, rect);
                if (border) result_.boxes.push_back({rect, RGB(128, 128, 128), true});
            }
            RECT rowRect = {left, rowTop, left + width, rowTop + rowHeight};
            Settle(rowBackground, rowRect);
            Grow(row->box, rowRect);
            context.y = rowTop + rowHeight;
        }
        RECT rect = {left, top, left + width, context.y};
        Settle(background, rect);
        Grow(table.box, rect);
        space_ = false;
    }

    HtmlLayoutResult Finish(Context& context, const HtmlStyle& style) {
        Flush(context, style, false);
        result_.height = context.y;
        return std::move(result_);
    }

private:
    struct Item {
        enum Kind { Text, Control, Image } kind;
        std::wstring text;
        HtmlStyle style;
        int width;
        int height;
        HtmlNode* owner;
        HtmlControlKind control = HtmlControlKind::Button;
        std::string label;
        std::string source;
        int x = 0;
    };

    static bool SameLook(const HtmlStyle& a, const HtmlStyle& b) {
        return a.color == b.color && a.fontSize == b.fontSize && a.bold == b.bold && a.italic == b.italic &&
               a.underline == b.underline;
    }

    static std::string Collapse(const std::string& text) {
        std::string out;
        bool space = false;
        for (char c : text) {
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                space = !out.empty();
                continue;
            }
            if (space) out += ' ';
            space = false;
            out += c;
        }
        return out;
    }

    // A background box to fill once its size is known; npos when none.
    size_t Reserve(const HtmlStyle& style) {
        if (!style.hasBackground) return std::string::npos;
        result_.boxes.push_back({RECT{}, style.background, false});
        return result_.boxes.size() - 1;
    }
    void Settle(size_t box, const RECT& rect) {
        if (box != std::string::npos) result_.boxes[box].rect = rect;
    }

    void Add(Item item, Context& context, const HtmlStyle& style, bool spaced) {
        int gap = 0;
        if (!line_.empty() && (space_ || spaced || line_.back().kind == Item::Control))
            gap = measure_.Text(L" ", style).cx;
        if (!line_.empty() && lineWidth_ + gap + item.width > context.right - context.left) {
            Flush(context, style, false);
            gap = 0;
        }
        item.x = lineWidth_ + gap;
        lineWidth_ = item.x + item.width;
        line_.push_back(std::move(item));
        space_ = false;
    }

    void Flush(Context& context, const HtmlStyle& style, bool breakLine) {
        space_ = false;
        if (line_.empty()) {
            if (breakLine) context.y += measure_.Text(L"X", style).cy;
            return;
        }
        int height = 0;
        for (const Item& item : line_) height = std::max(height, item.height);
        int room = context.right - context.left - lineWidth_;
        int offset = context.align == "center" ? room / 2 : context.align == "right" ? room : 0;
        offset = std::max(0, offset);
        bool runOpen = false;  // the last text painted on this line can take the next word
        for (Item& item : line_) {
            int left = context.left + offset + item.x;
            int top = context.y + (item.kind == Item::Text ? height - item.height : (height - item.height) / 2);
            RECT rect = {left, top, left + item.width, top + item.height};
            if (item.kind == Item::Text) {
                HtmlPaintText* previous = runOpen ? &result_.texts.back() : nullptr;
                if (previous && previous->rect.top == top && SameLook(previous->style, item.style)) {
                    // Words of one look go out as one run, so the spaces
                    // between them are the font's own, not sums of widths.
                    if (rect.left > previous->rect.right) previous->text += L' ';
                    previous->text += item.text;
                    previous->rect.right = rect.right;
                } else {
                    result_.texts.push_back({rect, std::move(item.text), item.style});
                }
                runOpen = true;
            } else if (item.kind == Item::Image) {
                result_.images.push_back({rect, item.source});
                runOpen = false;
            } else {
                result_.controls.push_back({item.owner, item.control, rect, item.label, item.style});
                runOpen = false;
            }
            for (HtmlNode* node = item.owner; node && node != &root_; node = node->parent) Grow(node->box, rect);
        }
        context.y += height + kLineGap;
        line_.clear();
        lineWidth_ = 0;
    }

    const HtmlStyleSheet& sheet_;
    HtmlMeasure& measure_;
    HtmlNode& root_;
    HtmlLayoutResult result_;
    std::vector<Item> line_;
    int lineWidth_ = 0;
    bool space_ = false;
};

}  // namespace

HtmlLayoutResult LayoutPage(HtmlNode& root, const HtmlStyle& rootStyle, const HtmlStyleSheet& sheet,
                            HtmlMeasure& measure, int width) {
    ClearBoxes(root);
    Layouter layouter(sheet, measure, root);
    constexpr int kPageMargin = 8;
    Layouter::Context context = {kPageMargin, std::max(kPageMargin + 1, width - kPageMargin), kPageMargin,
                                 rootStyle.align};
    layouter.Children(root, rootStyle, context);
    HtmlLayoutResult result = layouter.Finish(context, rootStyle);
    result.height += kPageMargin;
    return result;
}

std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty()) return L"";
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string Utf8FromWide(const std::wstring& text) {
    if (text.empty()) return "";
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string narrow(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}

}  // namespace vorlan
