#pragma once
// Whether a component of a project is sent to the device again: its row's
// version and patch against what the device's component index recorded.
#include <string>

namespace vorlan {

// 1 when version a is newer than b, 0 when equal, -1 when older. Versions
// are point-separated numbers ("1.10" is newer than "1.9", "1.0" newer than
// "1", "1.05" equals "1.5"); a field's value is its leading digits.
int CompareVersions(const char* a, const char* b);

struct ComponentVersions {
    std::string version;
    std::string patch;
    std::string alwaysSync;
};

// The row's values after the engine's defaults: "1.0", "0" and "1" for
// empty fields.
ComponentVersions WithDefaults(ComponentVersions row);

// Due when the row's version is newer than the index's, or equal with a
// newer patch, or when AlwaysSync is exactly "1".
bool IsComponentDue(const ComponentVersions& row, const std::string& indexVersion,
                    const std::string& indexPatch);

}  // namespace vorlan
