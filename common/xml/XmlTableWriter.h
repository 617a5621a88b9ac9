#pragma once
// Writing a table back: the rows of a CMapArray, with the fields named by
// the plug-in's columns in column order, into the table document.
#include <string>
#include <vector>

#include "MapArray.h"

namespace vorlan {

// The document a table starts from when its file has none to keep.
extern const char kSeedTableXml[];

// Writes rows as elements named tableName into the "root" of the document
// read from ownUrl (anything outside "root" is kept; a missing or rootless
// document starts from the seed). Before each row a line feed and a tab,
// after the last a line feed; only non-empty fields are written, in the
// order of fieldNames; a row with none is left out. The document is saved
// to a temporary file beside targetPath that then replaces it, so a failed
// save leaves the old table as it was; a write-protected target is refused
// with HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED). A field holding a character XML
// cannot hold (U+0001, ESC, ...) is refused before anything is written:
// HRESULT_FROM_WIN32(ERROR_INVALID_DATA), with the thread's error
// information naming the field.
//
// A row's fields that fieldNames does not list are dropped, or with Keep
// written after the listed ones in the row's own order, so a table edited
// by a plug-in that lists fewer columns than the file holds loses nothing.
enum class UnlistedFields { Drop, Keep };
HRESULT SaveXmlTable(const std::string& ownUrl, const std::string& targetPath,
                     const std::string& tableName, const std::vector<std::string>& fieldNames,
                     const CMapArray& rows, UnlistedFields unlisted = UnlistedFields::Drop);

}  // namespace vorlan
