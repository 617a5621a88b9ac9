#pragma once
// CXmlSql: reads one XML table (a path or URL) into rows.
//
// The table is the document element; each child element is a row whose
// attributes are its fields, whatever the element is called. Text, comments
// and processing instructions between rows are not rows.
#include <windows.h>
#include <ole2.h>

#include <memory>
#include <string>

#include "MapArray.h"

namespace vorlan {

class CXmlSql {
public:
    void SetSource(const std::string& source) { source_ = source; }
    std::string GetSource() const { return source_; }
    // Stylesheet applied after loading; empty unless a caller sets one.
    void SetStylesheet(const std::string& stylesheet) { stylesheet_ = stylesheet; }

    // Reads the source into the result. S_OK with the rows (possibly none);
    // S_FALSE and no result for an empty source, a document that did not
    // load, or a table element without any child node; an error otherwise.
    HRESULT Run();
    // SetSource, Run, and *rows = the result (owned by this object, valid
    // until the next read or its destruction; NULL when there is none).
    HRESULT Execute(const std::string& source, CMapArray** rows);
    // Name of the first element child of the table element ("" when there
    // is none); S_FALSE for an empty source, E_POINTER when nothing loaded.
    HRESULT GetTableName(std::string& name);
    void FreeResult() { result_.reset(); }
    CMapArray* Result() const { return result_.get(); }

private:
    std::string source_;
    std::string stylesheet_;
    std::unique_ptr<CMapArray> result_;
};

}  // namespace vorlan
