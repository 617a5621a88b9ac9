#pragma once
// Between the symbolic folder names item paths hold and the connected
// device's real paths.
#include <string>

#include "SymbolicFolders.h"

namespace vorlan {

// ExpandCeFolderVariables into a 260-byte buffer: false when a named
// folder cannot be looked up or the result does not fit.
bool ToRealDevicePath(const std::string& path, std::string& real);

// The table of real folders read from the device now, in a session of its
// own (nested in the caller's when there is one), so a device connected
// since the last browse is never met with an old table.
SymbolicFolderTable ReadSymbolicFolderTable();

// The setting that turns the translation on (non-zero, the default) or off.
bool TranslatePathSetting();

}  // namespace vorlan
