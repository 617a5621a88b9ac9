#include "MyXmlDom.h"

#include <cstring>
#include <vector>

#include "Bstr.h"
#include "ComPtr.h"
#include "TableBytes.h"

namespace vorlan {

using com::Bstr;
using com::ComPtr;

const CLSID CLSID_VorlanDomDocument = {
    0x2933BF90, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

namespace {

HRESULT CreateDocument(IXMLDOMDocument** doc) {
    return CoCreateInstance(CLSID_VorlanDomDocument, nullptr, CLSCTX_INPROC_SERVER,
                            IID_IXMLDOMDocument, reinterpret_cast<void**>(doc));
}

// A BSTR VARIANT that frees its string.
class BstrVariant {
public:
    explicit BstrVariant(const std::string& text) {
        VariantInit(&v_);
        v_.vt = VT_BSTR;
        v_.bstrVal = com::AllocBstrFromAnsi(text);
    }
    ~BstrVariant() { VariantClear(&v_); }
    BstrVariant(const BstrVariant&) = delete;
    BstrVariant& operator=(const BstrVariant&) = delete;
    const VARIANT& Get() const { return v_; }
    bool Valid() const { return v_.bstrVal != nullptr; }

private:
    VARIANT v_;
};

// Parses bytes as a document, their encoding declaration honoured.
HRESULT LoadBytes(IXMLDOMDocument* doc, const std::vector<char>& bytes, VARIANT_BOOL* loaded) {
    if (bytes.empty()) return S_OK;  // nothing to parse: not loaded
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array) return E_OUTOFMEMORY;
    void* data = nullptr;
    HRESULT hr = SafeArrayAccessData(array, &data);
    if (SUCCEEDED(hr)) {
        memcpy(data, bytes.data(), bytes.size());
        SafeArrayUnaccessData(array);
        VARIANT source;
        VariantInit(&source);
        source.vt = VT_ARRAY | VT_UI1;
        source.parray = array;
        hr = doc->load(source, loaded);
    }
    SafeArrayDestroy(array);
    return hr;
}

}  // namespace

HRESULT CMyXMLDOM::Load(const std::string& path, IXMLDOMDocument** doc) {
    if (path.empty() || !doc) return E_POINTER;
    if (!*doc && FAILED(CreateDocument(doc))) return E_POINTER;
    HRESULT hr = (*doc)->put_async(VARIANT_FALSE);
    if (SUCCEEDED(hr)) hr = (*doc)->put_preserveWhiteSpace(VARIANT_TRUE);
    if (FAILED(hr)) return hr;
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (IsReadableTableSource(path)) {
        std::vector<char> bytes;
        hr = ReadTableBytes(path, bytes);
        if (hr != S_OK) return hr;
        hr = LoadBytes(*doc, bytes, &loaded);
    } else {
        BstrVariant source(path);
        if (!source.Valid()) return E_OUTOFMEMORY;
        hr = (*doc)->load(source.Get(), &loaded);
    }
    if (FAILED(hr)) return hr;
    return loaded == VARIANT_TRUE ? S_OK : S_FALSE;
}

HRESULT CMyXMLDOM::LoadXML(const std::string& xml, IXMLDOMDocument** doc) {
    if (!doc) return E_POINTER;
    if (!*doc && FAILED(CreateDocument(doc))) return S_FALSE;
    HRESULT hr = (*doc)->put_preserveWhiteSpace(VARIANT_TRUE);
    if (FAILED(hr)) return hr;
    Bstr text = Bstr::FromAnsi(xml);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    hr = (*doc)->loadXML(text.Get(), &loaded);
    if (FAILED(hr)) return hr;
    return loaded == VARIANT_TRUE ? S_OK : S_FALSE;
}

HRESULT CMyXMLDOM::LoadAndTransform(const std::string& source, const std::string& stylesheet,
                                    IXMLDOMDocument** out) {
    if (!out) return E_POINTER;
    HRESULT hr = Load(source, out);
    if (hr != S_OK) {
        if (*out) (*out)->Release();
        *out = nullptr;
        return hr;
    }
    if (stylesheet.empty()) return hr;
    ComPtr<IXMLDOMDocument> sheet;
    HRESULT sheetLoaded = Load(stylesheet, sheet.Put());
    if (sheetLoaded != S_OK) return hr;
    ComPtr<IXMLDOMNode> sheetNode;
    HRESULT qi = sheet->QueryInterface(IID_IXMLDOMNode, sheetNode.PutVoid());
    if (FAILED(qi)) return qi;
    return Transform(out, sheetNode.Get());
}

HRESULT CMyXMLDOM::Transform(IXMLDOMDocument** doc, IXMLDOMNode* stylesheet) {
    if (!doc || !*doc || !stylesheet) return E_POINTER;
    ComPtr<IXMLDOMDocument> result;
    if (FAILED(CreateDocument(result.Put()))) return S_FALSE;
    VARIANT target;
    VariantInit(&target);
    target.vt = VT_DISPATCH;
    target.pdispVal = result.Get();
    HRESULT hr = (*doc)->transformNodeToObject(stylesheet, target);
    if (FAILED(hr)) return hr;
    (*doc)->Release();
    *doc = result.Detach();
    return hr;
}

HRESULT CMyXMLDOM::RemoveAllChildren(IXMLDOMNode* node) {
    if (!node) return S_FALSE;
    for (;;) {
        ComPtr<IXMLDOMNode> child;
        HRESULT hr = node->get_firstChild(child.Put());
        if (FAILED(hr)) return hr;
        if (!child) return S_OK;
        ComPtr<IXMLDOMNode> removed;
        hr = node->removeChild(child.Get(), removed.Put());
        if (FAILED(hr)) return hr;
    }
}

HRESULT CMyXMLDOM::AppendText(IXMLDOMDocument* doc, IXMLDOMNode* parent, const char* text) {
    if (!doc || !parent || !text) return E_FAIL;
    VARIANT type;
    VariantInit(&type);
    type.vt = VT_I4;
    type.lVal = NODE_TEXT;
    Bstr empty(L"");
    ComPtr<IXMLDOMNode> node;
    HRESULT hr = doc->createNode(type, empty.Get(), empty.Get(), node.Put());
    if (FAILED(hr)) return hr;
    hr = node->put_text(Bstr::FromAnsi(text).Get());
    if (FAILED(hr)) return hr;
    ComPtr<IXMLDOMNode> appended;
    return parent->appendChild(node.Get(), appended.Put());
}

HRESULT CMyXMLDOM::AppendNewLine(IXMLDOMDocument* doc, IXMLDOMNode* parent) {
    return AppendText(doc, parent, "\n");
}

HRESULT CMyXMLDOM::AppendTab(IXMLDOMDocument* doc, IXMLDOMNode* parent) {
    return AppendText(doc, parent, "\t");
}

}  // namespace vorlan
