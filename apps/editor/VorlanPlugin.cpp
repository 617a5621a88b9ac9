#include "VorlanPlugin.h"

#include "Bstr.h"
#include "PluginList.h"
#include "Url.h"
#include "XmlTableWriter.h"
#include "pindrel.h"

namespace vorlan::editor {

using com::Bstr;
using com::ComPtr;

const CLSID CLSID_FallbackProperties = {0xB66A669D, 0xEAD7, 0x4676, {0x9E, 0x77, 0x5E, 0xCE, 0x3F, 0x0D, 0x59, 0x4E}};

namespace {

constexpr char kUrlKey[] = "QvMy_URL";

HRESULT CreateDescription(const std::string& progId, ComPtr<IVorlanProperties>& out) {
    CLSID clsid = {};
    HRESULT hr = CLSIDFromProgID(com::WideFromAnsi(progId).c_str(), &clsid);
    if (FAILED(hr)) return hr;
    return com::CreateInstance(clsid, out);
}

}  // namespace

HRESULT CVorlanPlugin::OpenTable(const std::string& displayName, const std::string& urlOrProgId, int mode) {
    displayName_ = displayName;
    HRESULT read = E_FAIL;
    std::string pluginProgId;
    if (mode == kOpenUrl) {
        url_ = urlOrProgId;
        CMapArray* rows = nullptr;
        read = reader_.Execute(url_, &rows);
        ownRows_.reset();
        // A table with no rows has no name, so no kind: the fallback
        // describes it like an unreadable one.
        if (read == S_OK && rows && rows->GetSize() > 0) pluginProgId = FindPluginProgId(GetTableName());
    } else {
        reader_.FreeResult();
        ownRows_ = std::make_unique<CMapArray>();
        pluginProgId = urlOrProgId;
    }
    if (properties_) return read;
    return Describe(pluginProgId);
}

HRESULT CVorlanPlugin::Describe(const std::string& pluginProgId) {
    HRESULT hr = E_FAIL;
    if (!pluginProgId.empty() && SUCCEEDED(CreateDescription(DescriptionProgId(pluginProgId), properties_)) &&
        SUCCEEDED(properties_->get_FieldNames(fieldNames_.Put())) && fieldNames_ &&
        SUCCEEDED(properties_->get_ColumnCount(&columnCount_))) {
        fallback_ = false;
        hr = S_OK;
    } else {
        properties_.Reset();
        fieldNames_.Reset();
        columnCount_ = 0;
        fallback_ = true;
        hr = com::CreateInstance(CLSID_FallbackProperties, properties_);
        if (FAILED(hr)) return hr;
        HRESULT fields = properties_->get_FieldNames(fieldNames_.Put());
        if (FAILED(fields)) {
            properties_.Reset();
            return fields;
        }
        hr = S_FALSE;
    }
    Bstr progId;
    if (SUCCEEDED(properties_->get_ProgId(progId.Put()))) progId_ = progId.Ansi();
    return hr;
}

std::string CVorlanPlugin::GetTableName() {
    if (properties_) {
        Bstr name;
        return SUCCEEDED(properties_->get_TableName(name.Put())) ? name.Ansi() : std::string();
    }
    std::string name;
    return SUCCEEDED(reader_.GetTableName(name)) ? name : std::string();
}

BOOL CVorlanPlugin::IsComponentTable() { return lstrcmpiA(GetTableName().c_str(), "PlugInsCfg") == 0; }

short CVorlanPlugin::GetColumnCount() const { return properties_ ? columnCount_ : 0; }

BOOL CVorlanPlugin::GetFieldName(int column, std::string& name) const {
    if (column < 0 || column > GetColumnCount() || !fieldNames_) return FALSE;
    Bstr value;
    if (FAILED(fieldNames_->GetProperty(Bstr::FromAnsi(std::to_string(column)).Get(), value.Put()))) return FALSE;
    name = value.Ansi();
    return TRUE;
}

std::vector<std::string> CVorlanPlugin::GetFieldNameList() const {
    std::vector<std::string> names;
    std::string name;
    for (int column = 0; column < GetColumnCount(); ++column) {
        if (GetFieldName(column, name)) names.push_back(name);
    }
    return names;
}

const CMapArray* CVorlanPlugin::RowsOrNull() const {
    if (ownRows_) return ownRows_.get();
    return reader_.Result();
}

CMapArray& CVorlanPlugin::Rows() {
    if (!RowsOrNull()) ownRows_ = std::make_unique<CMapArray>();
    return ownRows_ ? *ownRows_ : *reader_.Result();
}

int CVorlanPlugin::GetRowCount() const {
    const CMapArray* rows = RowsOrNull();
    if (!rows || progId_.empty()) return 0;
    return rows->GetSize();
}

HRESULT CVorlanPlugin::GetRowNode(int row, IInfoNode** node) const {
    if (!node) return E_POINTER;
    *node = nullptr;
    const CMapArray* rows = RowsOrNull();
    if (!rows) return E_HANDLE;
    HRESULT hr = rows->GetRowInfoNode(row, node);
    if (FAILED(hr)) return hr;
    return *node ? S_OK : E_HANDLE;
}

BOOL CVorlanPlugin::GetCellValue(int row, int column, std::string& value) const {
    if (row < 0 || row >= GetRowCount()) return FALSE;
    std::string field;
    if (!GetFieldName(column, field) || field.empty()) return FALSE;
    const StringMap* cells = RowsOrNull()->GetRow(row);
    const std::string* found = cells ? cells->Find(field) : nullptr;
    value = found ? *found : std::string();
    return TRUE;
}

void CVorlanPlugin::CopyListedFields(StringMap& row, IInfoNode* node) const {
    if (!node) return;
    for (const std::string& field : GetFieldNameList()) {
        Bstr value;
        if (SUCCEEDED(node->GetProperty(Bstr::FromAnsi(field).Get(), value.Put()))) row.Set(field, value.Ansi());
    }
}

void CVorlanPlugin::NodeToRow(std::unique_ptr<StringMap>& row, IInfoNode* node) const {
    if (!row) row = std::make_unique<StringMap>();
    CopyListedFields(*row, node);
}

HRESULT CVorlanPlugin::InsertRow(int index, IInfoNode* node) {
    std::unique_ptr<StringMap> row;
    NodeToRow(row, node);
    return Rows().Insert(index, std::move(row)) ? S_OK : E_INVALIDARG;
}

HRESULT CVorlanPlugin::AppendRow(IInfoNode* node) { return InsertRow(Rows().GetSize(), node); }

HRESULT CVorlanPlugin::ReplaceRow(int row, IInfoNode* node) {
    if (DeleteRow(row) != 0) return S_FALSE;
    return InsertRow(row, node);
}

int CVorlanPlugin::DeleteRow(int row) { return Rows().Remove(row) ? 0 : 1; }

HRESULT CVorlanPlugin::CreateInfoNode(IInfoNode** out) {
    if (out) *out = nullptr;
    ComPtr<IInfoNode> node;
    HRESULT hr = com::CreateInstance(CLSID_InfoNode, node);
    if (FAILED(hr)) return hr;
    hr = AppendRow(node.Get());
    if (FAILED(hr)) return hr;
    if (out) *out = node.Detach();
    return S_OK;
}

HRESULT CVorlanPlugin::EditRow(int row) {
    if (!properties_) return E_HANDLE;
    ComPtr<IInfoNode> node;
    HRESULT hr = GetRowNode(row, node.Put());
    if (FAILED(hr)) return hr;
    // The plug-in's dialog resolves relative paths against the table.
    hr = node->SetAt(Bstr::FromAnsi(kUrlKey).Get(), Bstr::FromAnsi(url_).Get());
    if (FAILED(hr)) return hr;
    // The dialog may hand back another node in place of the one it got.
    IInfoNode* edited = node.Detach();
    hr = properties_->ConfigNodeDlg(&edited, VARIANT_FALSE);
    node = ComPtr<IInfoNode>::Adopt(edited);
    if (hr != S_OK) return hr;
    // Only a confirmed dialog changes the row; the listed fields come back
    // ("QvMy_URL" only when the plug-in lists it).
    if (StringMap* cells = Rows().GetRow(row)) CopyListedFields(*cells, node.Get());
    return S_OK;
}

HRESULT CVorlanPlugin::SaveXml(const char* path) {
    // What the editor could not read, it cannot write back.
    if (fallback_ || !properties_) return E_FAIL;
    const std::string tableName = GetTableName();
    if (tableName.empty()) return E_FAIL;
    std::string target;
    if (path) {
        target = path;
    } else {
        if (GetUrlServiceType(url_.c_str()) != kUrlServiceFile) return E_FAIL;
        if (FAILED(UrlToLocalPath(url_.c_str(), target))) return E_FAIL;
    }
    static const CMapArray kNoRows;
    const CMapArray* rows = RowsOrNull();
    return SaveXmlTable(url_, target, tableName, GetFieldNameList(), rows ? *rows : kNoRows, UnlistedFields::Keep);
}

}  // namespace vorlan::editor
