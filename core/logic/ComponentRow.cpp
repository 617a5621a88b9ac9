#include "ComponentRow.h"

#include <cstdio>
#include <cstdlib>

namespace vorlan {

ComponentFields ReadComponentFields(const std::string& alwaysSync, const std::string& version,
                                    const std::string& patch) {
    return {alwaysSync.empty() || std::atoi(alwaysSync.c_str()) != 0,
            version.empty() ? 1.0 : std::atof(version.c_str()), patch.empty() ? 0 : std::atoi(patch.c_str())};
}

std::string VersionText(double version) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", version);
    return text;
}

std::string VersionToStore(const std::string& original, bool edited, double typed) {
    return edited ? VersionText(typed) : original;
}

std::string WithTableExtension(const std::string& path) {
    const size_t name = path.find_last_of("\\/:");
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (name == std::string::npos || dot > name) &&
                              dot + 1 < path.size();
    return hasExtension ? path : path + ".XML";
}

}  // namespace vorlan
