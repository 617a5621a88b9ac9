#include "XmlTableWriter.h"

#include "Bstr.h"
#include "ComCall.h"
#include "ComPtr.h"
#include "MyXmlDom.h"
#include "XmlText.h"

namespace vorlan {

using com::Bstr;
using com::ComPtr;

const char kSeedTableXml[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><root></root>";

namespace {

HRESULT SelectRoot(IXMLDOMDocument* doc, ComPtr<IXMLDOMNode>& root) {
    return doc->selectSingleNode(Bstr(L"root").Get(), root.Put());
}

HRESULT OpenTableDocument(const std::string& ownUrl, ComPtr<IXMLDOMDocument>& doc,
                          ComPtr<IXMLDOMNode>& root) {
    if (!ownUrl.empty() && CMyXMLDOM::Load(ownUrl, doc.Put()) == S_OK &&
        SUCCEEDED(SelectRoot(doc.Get(), root)) && root)
        return S_OK;
    doc.Reset();
    HRESULT hr = CMyXMLDOM::LoadXML(kSeedTableXml, doc.Put());
    if (hr != S_OK) return FAILED(hr) ? hr : E_FAIL;
    VORLAN_RETURN_IF_FAILED(SelectRoot(doc.Get(), root));
    return root ? S_OK : E_FAIL;
}

// The thread's error information, as COM callers read it.
void SetErrorDescription(const std::string& text) {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.Put()))) return;
    create->SetDescription(Bstr::FromAnsi(text).Get());
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, info.PutVoid()))) SetErrorInfo(0, info.Get());
}

// The names a row is written with: the listed ones, then, when kept, the
// row's others in its own order.
std::vector<std::string> RowFields(const std::vector<std::string>& fieldNames, const StringMap& row,
                                   UnlistedFields unlisted) {
    std::vector<std::string> names = fieldNames;
    if (unlisted == UnlistedFields::Keep) {
        for (const auto& [name, value] : row) {
            bool listed = false;
            for (const std::string& field : fieldNames) listed = listed || field == name;
            if (!listed) names.push_back(name);
        }
    }
    return names;
}

// A field a table cannot hold is refused before anything is written.
HRESULT CheckFields(const std::vector<std::string>& fieldNames, const StringMap& row) {
    for (const std::string& field : fieldNames) {
        const std::string* value = row.Find(field);
        if (!value || IsXmlText(com::WideFromAnsi(*value))) continue;
        SetErrorDescription("The field \"" + field +
                            "\" holds a control character that a table cannot store; the table was not saved.");
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    }
    return S_OK;
}

HRESULT AppendRow(IXMLDOMDocument* doc, IXMLDOMNode* root, const std::string& tableName,
                  const std::vector<std::string>& fieldNames, const StringMap& row) {
    ComPtr<IXMLDOMElement> element;
    VORLAN_RETURN_IF_FAILED(doc->createElement(Bstr::FromAnsi(tableName).Get(), element.Put()));
    bool any = false;
    for (const std::string& field : fieldNames) {
        const std::string* value = row.Find(field);
        if (!value || value->empty()) continue;
        VARIANT text;
        VariantInit(&text);
        text.vt = VT_BSTR;
        text.bstrVal = com::AllocBstrFromAnsi(*value);
        HRESULT hr = element->setAttribute(Bstr::FromAnsi(field).Get(), text);
        VariantClear(&text);
        VORLAN_RETURN_IF_FAILED(hr);
        any = true;
    }
    if (!any) return S_OK;
    VORLAN_RETURN_IF_FAILED(CMyXMLDOM::AppendNewLine(doc, root));
    VORLAN_RETURN_IF_FAILED(CMyXMLDOM::AppendTab(doc, root));
    ComPtr<IXMLDOMNode> appended;
    return root->appendChild(element.Get(), appended.Put());
}

HRESULT SaveReplacing(IXMLDOMDocument* doc, const std::string& targetPath) {
    // A write-protected table stays as it is: replacing the file would get
    // round its protection where the system lets a move do so.
    const DWORD attributes = GetFileAttributesW(com::WideFromAnsi(targetPath).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    const std::string temporary = targetPath + ".tmp";
    VARIANT path;
    VariantInit(&path);
    path.vt = VT_BSTR;
    path.bstrVal = com::AllocBstrFromAnsi(temporary);
    HRESULT hr = doc->save(path);
    VariantClear(&path);
    if (FAILED(hr)) {
        DeleteFileW(com::WideFromAnsi(temporary).c_str());
        return hr;
    }
    if (!MoveFileExW(com::WideFromAnsi(temporary).c_str(), com::WideFromAnsi(targetPath).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        hr = HRESULT_FROM_WIN32(GetLastError());
        DeleteFileW(com::WideFromAnsi(temporary).c_str());
        return hr;
    }
    return S_OK;
}

}  // namespace

HRESULT SaveXmlTable(const std::string& ownUrl, const std::string& targetPath,
                     const std::string& tableName, const std::vector<std::string>& fieldNames,
                     const CMapArray& rows, UnlistedFields unlisted) {
    if (targetPath.empty() || tableName.empty()) return E_FAIL;
    for (int i = 0; i < rows.GetSize(); ++i) {
        if (const StringMap* row = rows.GetRow(i))
            VORLAN_RETURN_IF_FAILED(CheckFields(RowFields(fieldNames, *row, unlisted), *row));
    }
    ComPtr<IXMLDOMDocument> doc;
    ComPtr<IXMLDOMNode> root;
    VORLAN_RETURN_IF_FAILED(OpenTableDocument(ownUrl, doc, root));
    VORLAN_RETURN_IF_FAILED(CMyXMLDOM::RemoveAllChildren(root.Get()));
    for (int i = 0; i < rows.GetSize(); ++i) {
        if (const StringMap* row = rows.GetRow(i))
            VORLAN_RETURN_IF_FAILED(
                AppendRow(doc.Get(), root.Get(), tableName, RowFields(fieldNames, *row, unlisted), *row));
    }
    VORLAN_RETURN_IF_FAILED(CMyXMLDOM::AppendNewLine(doc.Get(), root.Get()));
    return SaveReplacing(doc.Get(), targetPath);
}

}  // namespace vorlan
