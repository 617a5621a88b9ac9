#pragma once
// A page as the host keeps it: elements (lower-case tag, attributes,
// children) and text nodes, parsed from our own well-formed XHTML by MSXML.
// The state of a page's controls (checked, disabled) lives on the element,
// so laying the page out again keeps it.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vorlan {

struct HtmlNode {
    std::string tag;   // "" for a text node
    std::string text;  // a text node's characters (UTF-8)
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<std::unique_ptr<HtmlNode>> children;
    HtmlNode* parent = nullptr;
    bool checked = false;
    bool disabled = false;
    RECT box = {};  // where the last layout put it, in page coordinates

    bool IsText() const { return tag.empty(); }
    // "" when the attribute is not there.
    std::string Attribute(const std::string& name) const;
    bool HasAttribute(const std::string& name) const;
};

// The characters of node and everything under it, in order.
std::string TextOf(const HtmlNode& node);
// The first element under (or being) root whose id is id; nullptr if none.
HtmlNode* FindById(HtmlNode& root, const std::string& id);
// The first element with the tag, depth first; nullptr if none.
HtmlNode* FindByTag(HtmlNode& root, const std::string& tag);

// Parses a whole page; its root element becomes root's only child. False,
// with the parser's reason in error, when the text is not well formed.
bool ParseXhtml(const std::string& text, HtmlNode& root, std::string& error);
// Parses a fragment (any number of elements and text) into children for
// parent; children is left alone when it does not parse.
bool ParseFragment(const std::string& text, HtmlNode* parent, std::vector<std::unique_ptr<HtmlNode>>& children,
                   std::string& error);

}  // namespace vorlan
