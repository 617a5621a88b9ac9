#include "SymbolicFolders.h"

#include <cctype>

#include "CeFolderNames.h"

namespace vorlan {

namespace {

// The desktop and the favourites lead the table and are expanded only.
constexpr size_t kExpandedOnly = 2;

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

}  // namespace

void SymbolicFolderTable::Build(const RealFolderLookup& lookup) {
    byRealPath_.clear();
    for (const CeFolderName& folder : CeFolderNames().subspan(kExpandedOnly)) {
        std::string real;
        if (!lookup(folder.name, real) || real.size() <= 1) continue;
        byRealPath_[Upper(real)] = std::string(folder.name);
    }
}

bool SymbolicFolderTable::ToSymbolic(std::string& path, size_t size) const {
    std::string candidate = Upper(path);
    for (;;) {
        auto found = byRealPath_.find(candidate);
        if (found != byRealPath_.end()) {
            std::string symbolic = found->second + path.substr(candidate.size());
            if (symbolic.size() + 1 > size) return false;
            path = std::move(symbolic);
            return true;
        }
        const size_t last = candidate.rfind('\\');
        if (last == std::string::npos || last < 1) return false;
        candidate.resize(last);
    }
}

}  // namespace vorlan
