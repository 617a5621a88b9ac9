#include "HtmlTree.h"

#include <msxml2.h>

#include <algorithm>
#include <cctype>

#include "Bstr.h"
#include "ComPtr.h"

namespace vorlan {
namespace {

// MSXML's version-independent DOM document, in process.
const CLSID kDomDocument = {0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::unique_ptr<HtmlNode> Convert(IXMLDOMNode* source, HtmlNode* parent) {
    DOMNodeType type = NODE_INVALID;
    if (FAILED(source->get_nodeType(&type))) return nullptr;
    auto node = std::make_unique<HtmlNode>();
    node->parent = parent;
    if (type == NODE_TEXT || type == NODE_CDATA_SECTION) {
        com::Bstr text;
        source->get_text(text.Put());
        node->text = text.Ansi();
        return node;
    }
    if (type != NODE_ELEMENT) return nullptr;  // comments, instructions
    com::Bstr name;
    source->get_nodeName(name.Put());
    node->tag = Lower(name.Ansi());
    com::ComPtr<IXMLDOMNamedNodeMap> attributes;
    if (SUCCEEDED(source->get_attributes(attributes.Put())) && attributes) {
        long count = 0;
        attributes->get_length(&count);
        for (long i = 0; i < count; ++i) {
            com::ComPtr<IXMLDOMNode> attribute;
            if (FAILED(attributes->get_item(i, attribute.Put())) || !attribute) continue;
            com::Bstr key, value;
            attribute->get_nodeName(key.Put());
            attribute->get_text(value.Put());
            node->attributes.emplace_back(Lower(key.Ansi()), value.Ansi());
        }
    }
    node->checked = node->HasAttribute("checked");
    node->disabled = node->HasAttribute("disabled");
    com::ComPtr<IXMLDOMNode> child;
    source->get_firstChild(child.Put());
    while (child) {
        if (auto converted = Convert(child.Get(), node.get())) node->children.push_back(std::move(converted));
        com::ComPtr<IXMLDOMNode> next;
        child->get_nextSibling(next.Put());
        child = next;
    }
    return node;
}

// The document element of text, or a reason why there is none.
com::ComPtr<IXMLDOMElement> Parse(const std::string& text, std::string& error) {
    com::ComPtr<IXMLDOMDocument> document;
    HRESULT hr = CoCreateInstance(kDomDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument, document.PutVoid());
    if (FAILED(hr)) {
        error = "MSXML is not available";
        return nullptr;
    }
    document->put_async(VARIANT_FALSE);
    document->put_preserveWhiteSpace(VARIANT_TRUE);
    document->put_resolveExternals(VARIANT_FALSE);
    com::Bstr source = com::Bstr::FromAnsi(text);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    hr = document->loadXML(source.Get(), &loaded);
    com::ComPtr<IXMLDOMElement> root;
    if (SUCCEEDED(hr) && loaded == VARIANT_TRUE) document->get_documentElement(root.Put());
    if (!root) {
        error = "not well formed";
        com::ComPtr<IXMLDOMParseError> parseError;
        if (SUCCEEDED(document->get_parseError(parseError.Put())) && parseError) {
            long line = 0;
            com::Bstr reason;
            parseError->get_line(&line);
            parseError->get_reason(reason.Put());
            std::string why = reason.Ansi();
            while (!why.empty() && std::isspace(static_cast<unsigned char>(why.back()))) why.pop_back();
            if (!why.empty()) error = "line " + std::to_string(line) + ": " + why;
        }
    }
    return root;
}

}  // namespace

std::string HtmlNode::Attribute(const std::string& name) const {
    for (const auto& [key, value] : attributes)
        if (key == name) return value;
    return "";
}

bool HtmlNode::HasAttribute(const std::string& name) const {
    return std::any_of(attributes.begin(), attributes.end(), [&](const auto& a) { return a.first == name; });
}

std::string TextOf(const HtmlNode& node) {
    if (node.IsText()) return node.text;
    std::string text;
    for (const auto& child : node.children) text += TextOf(*child);
    return text;
}

HtmlNode* FindById(HtmlNode& root, const std::string& id) {
    if (!root.IsText() && !id.empty() && root.Attribute("id") == id) return &root;
    for (const auto& child : root.children)
        if (HtmlNode* found = FindById(*child, id)) return found;
    return nullptr;
}

HtmlNode* FindByTag(HtmlNode& root, const std::string& tag) {
    if (root.tag == tag) return &root;
    for (const auto& child : root.children)
        if (HtmlNode* found = FindByTag(*child, tag)) return found;
    return nullptr;
}

bool ParseXhtml(const std::string& text, HtmlNode& root, std::string& error) {
    com::ComPtr<IXMLDOMElement> element = Parse(text, error);
    if (!element) return false;
    auto converted = Convert(element.Get(), &root);
    if (!converted) {
        error = "no root element";
        return false;
    }
    root.children.clear();
    root.children.push_back(std::move(converted));
    return true;
}

bool ParseFragment(const std::string& text, HtmlNode* parent, std::vector<std::unique_ptr<HtmlNode>>& children,
                   std::string& error) {
    HtmlNode holder;
    if (!ParseXhtml("<fragment>" + text + "</fragment>", holder, error)) return false;
    std::vector<std::unique_ptr<HtmlNode>> parsed = std::move(holder.children.front()->children);
    for (auto& child : parsed) child->parent = parent;
    children = std::move(parsed);
    return true;
}

}  // namespace vorlan
