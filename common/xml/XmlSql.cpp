#include "XmlSql.h"

#include "Bstr.h"
#include "ComCall.h"
#include "ComPtr.h"
#include "MyXmlDom.h"

namespace vorlan {

using com::Bstr;
using com::ComPtr;

namespace {

HRESULT TableElement(IXMLDOMDocument* doc, ComPtr<IXMLDOMElement>& table) {
    HRESULT hr = doc->get_documentElement(table.Put());
    if (FAILED(hr)) return hr;
    return table ? S_OK : E_FAIL;
}

// "xmlns" and "xmlns:p" declare namespaces; they are not fields.
bool IsNamespaceDeclaration(const std::string& name) {
    return name == "xmlns" || name.rfind("xmlns:", 0) == 0;
}

// The fields of one row element; NULL for an element without attributes.
HRESULT ReadRow(IXMLDOMNamedNodeMap* attributes, std::unique_ptr<StringMap>& row) {
    long count = 0;
    HRESULT hr = attributes->get_length(&count);
    if (FAILED(hr)) return hr;
    if (count == 0) return S_OK;
    row = std::make_unique<StringMap>();
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> attribute;
        // Wine's MSXML counts namespace declarations among the attributes
        // but cannot hand them out: such an item is no field, and the row
        // keeps the others.
        if (FAILED(attributes->get_item(i, attribute.Put())) || !attribute) continue;
        Bstr name, text;
        VORLAN_RETURN_IF_FAILED(attribute->get_nodeName(name.Put()));
        const std::string field = name.Ansi();
        if (IsNamespaceDeclaration(field)) continue;
        VORLAN_RETURN_IF_FAILED(attribute->get_text(text.Put()));
        row->Set(field, text.Ansi());
    }
    if (row->empty()) row.reset();  // only namespace declarations: no fields
    return S_OK;
}

}  // namespace

HRESULT CXmlSql::Run() {
    FreeResult();
    if (source_.empty()) return S_FALSE;
    ComPtr<IXMLDOMDocument> doc;
    HRESULT hr = CMyXMLDOM::LoadAndTransform(source_, stylesheet_, doc.Put());
    if (hr != S_OK) return hr;

    ComPtr<IXMLDOMElement> table;
    VORLAN_RETURN_IF_FAILED(TableElement(doc.Get(), table));
    // Walked by sibling: a node list's item(i) may walk from the start.
    ComPtr<IXMLDOMNode> child;
    VORLAN_RETURN_IF_FAILED(table->get_firstChild(child.Put()));
    if (!child) return S_FALSE;

    auto rows = std::make_unique<CMapArray>();
    while (child) {
        ComPtr<IXMLDOMNamedNodeMap> attributes;
        VORLAN_RETURN_IF_FAILED(child->get_attributes(attributes.Put()));
        if (attributes) {  // else text, comment, processing instruction
            std::unique_ptr<StringMap> row;
            VORLAN_RETURN_IF_FAILED(ReadRow(attributes.Get(), row));
            rows->Add(std::move(row));
        }
        ComPtr<IXMLDOMNode> next;
        VORLAN_RETURN_IF_FAILED(child->get_nextSibling(next.Put()));
        child = std::move(next);
    }
    result_ = std::move(rows);
    return S_OK;
}

HRESULT CXmlSql::Execute(const std::string& source, CMapArray** rows) {
    SetSource(source);
    HRESULT hr = Run();
    if (rows) *rows = result_.get();
    return hr;
}

HRESULT CXmlSql::GetTableName(std::string& name) {
    name.clear();
    if (source_.empty()) return S_FALSE;
    ComPtr<IXMLDOMDocument> doc;
    HRESULT hr = CMyXMLDOM::LoadAndTransform(source_, stylesheet_, doc.Put());
    if (FAILED(hr) || !doc) return E_POINTER;
    ComPtr<IXMLDOMElement> table;
    if (FAILED(TableElement(doc.Get(), table))) return E_POINTER;
    ComPtr<IXMLDOMNode> child;
    VORLAN_RETURN_IF_FAILED(table->get_firstChild(child.Put()));
    while (child) {
        ComPtr<IXMLDOMNamedNodeMap> attributes;
        VORLAN_RETURN_IF_FAILED(child->get_attributes(attributes.Put()));
        if (attributes) {
            Bstr nodeName;
            VORLAN_RETURN_IF_FAILED(child->get_nodeName(nodeName.Put()));
            name = nodeName.Ansi();
            return S_OK;
        }
        ComPtr<IXMLDOMNode> next;
        VORLAN_RETURN_IF_FAILED(child->get_nextSibling(next.Put()));
        child = std::move(next);
    }
    return S_OK;
}

}  // namespace vorlan
