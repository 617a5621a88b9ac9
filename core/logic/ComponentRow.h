#pragma once
// What the component dialog reads from a row of the component table and
// writes back, without the dialog.
#include <string>

namespace vorlan {

// The row's fields as the dialog starts with them: an empty AlwaysSync
// counts as set, an empty Version as 1.0, an empty Patch as 0.
struct ComponentFields {
    bool alwaysSync;
    double version;
    int patch;
};
ComponentFields ReadComponentFields(const std::string& alwaysSync, const std::string& version,
                                    const std::string& patch);

// The Version text to store: the row's own text when the user left the
// field as it showed it, else the value typed with two decimals.
std::string VersionToStore(const std::string& original, bool edited, double typed);

// The text the version field shows for a row's Version: its value with two
// decimals.
std::string VersionText(double version);

// A chosen file name without an extension gets ".XML"; any other stays.
std::string WithTableExtension(const std::string& path);

}  // namespace vorlan
