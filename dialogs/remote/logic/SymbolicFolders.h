#pragma once
// Real device paths written back with symbolic folder names, so a path the
// user chose on one device holds on every device: the longest leading
// folder that is a known folder becomes its name ("%CE_STARTMENUPROGRAM%"
// for a file in the start menu's programs folder, not "%CE_WINDIR%").
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vorlan {

class SymbolicFolderTable {
public:
    // The real path of a symbolic name on the device, or false when the
    // device has none.
    using RealFolderLookup = std::function<bool(std::string_view name, std::string& real)>;

    // Asks for each name written back ("%CE_FONTS%" to "%CE_PROGRAMFILES%";
    // the desktop and favourites are only ever expanded), in order; when two
    // names share a real path the later one keeps it. Real paths of one
    // character ("\") are left out.
    void Build(const RealFolderLookup& lookup);
    bool Empty() const { return byRealPath_.empty(); }

    // Rewrites path when a leading folder of it is known and the rewritten
    // form fits size bytes with its terminator; true then. Otherwise path
    // stays as it is and the answer is false: a cut path would name another.
    bool ToSymbolic(std::string& path, size_t size) const;

private:
    std::unordered_map<std::string, std::string> byRealPath_;  // upper-case real path -> name
};

}  // namespace vorlan
