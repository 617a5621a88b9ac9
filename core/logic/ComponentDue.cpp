#include "ComponentDue.h"

#include <cstdlib>

#include "StringTokenizer2.h"

namespace vorlan {

int CompareVersions(const char* a, const char* b) {
    CStringTokenizer2 left, right;
    const int leftCount = left.Tokenize(a ? a : "", ".");
    const int rightCount = right.Tokenize(b ? b : "", ".");
    for (int i = 0; i < leftCount && i < rightCount; ++i) {
        const int x = std::atoi(left.ElementAt(i).c_str());
        const int y = std::atoi(right.ElementAt(i).c_str());
        if (x != y) return x > y ? 1 : -1;
    }
    if (leftCount == rightCount) return 0;
    return leftCount > rightCount ? 1 : -1;
}

ComponentVersions WithDefaults(ComponentVersions row) {
    if (row.version.empty()) row.version = "1.0";
    if (row.patch.empty()) row.patch = "0";
    if (row.alwaysSync.empty()) row.alwaysSync = "1";
    return row;
}

bool IsComponentDue(const ComponentVersions& row, const std::string& indexVersion,
                    const std::string& indexPatch) {
    const int versions = CompareVersions(row.version.c_str(), indexVersion.c_str());
    if (versions > 0) return true;
    if (versions == 0 && CompareVersions(row.patch.c_str(), indexPatch.c_str()) > 0) return true;
    return row.alwaysSync == "1";
}

}  // namespace vorlan
