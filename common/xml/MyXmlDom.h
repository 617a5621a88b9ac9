#pragma once
// CMyXMLDOM: the few operations on MSXML DOM documents that the table
// reader and writer need. Documents are the caller's: an [in, out]
// IXMLDOMDocument** is created when it holds NULL, and released or replaced
// only where an operation says so.
#include <windows.h>
#include <ole2.h>
#include <msxml2.h>

#include <string>

namespace vorlan {

// MSXML's DOMDocument class (version-independent, in-process).
extern const CLSID CLSID_VorlanDomDocument;

class CMyXMLDOM {
public:
    // Loads a path or URL synchronously, keeping white space (so a table
    // holding only a line feed has a child). S_OK loaded, S_FALSE not loaded
    // (missing, not well formed), E_POINTER for an empty path or when the
    // document cannot be created, else the load's error.
    static HRESULT Load(const std::string& path, IXMLDOMDocument** doc);
    // Parses text; S_FALSE (1) when the document cannot be created.
    static HRESULT LoadXML(const std::string& xml, IXMLDOMDocument** doc);
    // Load, then, with a stylesheet, the transformed document in its place.
    // A failed or empty load releases the document and leaves *out NULL.
    static HRESULT LoadAndTransform(const std::string& source, const std::string& stylesheet,
                                    IXMLDOMDocument** out);
    // Replaces *doc by the result of applying stylesheet to it.
    static HRESULT Transform(IXMLDOMDocument** doc, IXMLDOMNode* stylesheet);
    // S_FALSE for a NULL node, S_OK once it has no children.
    static HRESULT RemoveAllChildren(IXMLDOMNode* node);
    static HRESULT AppendText(IXMLDOMDocument* doc, IXMLDOMNode* parent, const char* text);
    static HRESULT AppendNewLine(IXMLDOMDocument* doc, IXMLDOMNode* parent);
    static HRESULT AppendTab(IXMLDOMDocument* doc, IXMLDOMNode* parent);
};

}  // namespace vorlan
