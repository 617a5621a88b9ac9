#pragma once
// CVorlanPlugin: one table open in the editor: its rows, its URL and
// display name, and the description object of the plug-in that handles its
// kind (column names, icons, the item dialog). A table no installed plug-in
// can describe (unreadable, kind not listed, no rows, description object
// missing) is described by the fallback object: it shows no rows and is
// never written, so saving cannot empty a file the editor could not read.
#include <windows.h>
#include <ole2.h>

#include <memory>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "MapArray.h"
#include "XmlSql.h"
#include "vorlan.h"

namespace vorlan::editor {

// The fallback description object.
extern const CLSID CLSID_FallbackProperties;

class CVorlanPlugin {
public:
    enum OpenMode { kOpenUrl = 0, kNewTableOfProgId = 1 };

    // Mode 0 reads the table at a URL; mode 1 starts an empty table of the
    // plug-in whose ProgID is given (the caller sets the URL afterwards).
    // S_OK described by the kind's own object, S_FALSE by the fallback; an
    // error only when neither object can be created. A table already open
    // answers the reading's result and keeps its description object.
    HRESULT OpenTable(const std::string& displayName, const std::string& urlOrProgId, int mode);

    const std::string& GetDisplayName() const { return displayName_; }
    const std::string& GetUrl() const { return url_; }
    void SetUrl(const std::string& url) { url_ = url; }

    // The plug-in's TableName; before one is attached, the name of the
    // first row element of the document at the URL.
    std::string GetTableName();
    BOOL IsComponentTable();
    bool IsDescribedByFallback() const { return fallback_; }

    IVorlanProperties* GetProperties() const { return properties_.Get(); }
    IInfoNode* GetFieldNames() const { return fieldNames_.Get(); }
    short GetColumnCount() const;
    // Field names of columns 0 .. count - 1, in order.
    std::vector<std::string> GetFieldNameList() const;
    // FALSE when column is beyond the column count.
    BOOL GetFieldName(int column, std::string& name) const;

    // 0 without rows or for a table the fallback describes.
    int GetRowCount() const;
    // A new InfoNode holding every pair of the row; E_HANDLE for no row.
    HRESULT GetRowNode(int row, IInfoNode** node) const;
    // FALSE when row is beyond the row count or the column has no name.
    BOOL GetCellValue(int row, int column, std::string& value) const;

    // Only the listed columns travel from a node into a row; the row's
    // other fields stay as they were.
    void NodeToRow(std::unique_ptr<StringMap>& row, IInfoNode* node) const;
    HRESULT AppendRow(IInfoNode* node);
    HRESULT InsertRow(int index, IInfoNode* node);
    // The row is replaced by one made from the node; S_FALSE when there is
    // no such row.
    HRESULT ReplaceRow(int row, IInfoNode* node);
    // 0 done, 1 when there is no such row.
    int DeleteRow(int row);
    // A new, empty InfoNode, appended as a new, empty row.
    HRESULT CreateInfoNode(IInfoNode** node = nullptr);

    // The row in the plug-in's item dialog, with "QvMy_URL" = the table's
    // URL in the node: S_OK after OK (the node's listed fields are copied
    // into the row), the dialog's answer otherwise (1223 after Cancel, the
    // row unchanged).
    HRESULT EditRow(int row);

    // Writes the table: without a path to its own URL, which must be a
    // local file; with one, to that path. The listed columns in order,
    // then the row's other fields. E_FAIL for a table the fallback
    // describes, a table without a name, or (without a path) a table read
    // from HTTP or FTP; nothing is written then.
    HRESULT SaveXml(const char* path);

private:
    HRESULT Describe(const std::string& pluginProgId);
    void CopyListedFields(StringMap& row, IInfoNode* node) const;
    CMapArray& Rows();
    const CMapArray* RowsOrNull() const;

    com::ComPtr<IVorlanProperties> properties_;
    std::string displayName_;
    std::string url_;
    CXmlSql reader_;
    // Rows of a table started empty, or of one whose document had none.
    std::unique_ptr<CMapArray> ownRows_;
    com::ComPtr<IInfoNode> fieldNames_;
    short columnCount_ = 0;
    std::string progId_;
    bool fallback_ = false;
};

}  // namespace vorlan::editor
