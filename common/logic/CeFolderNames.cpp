#include "CeFolderNames.h"

#include "ReplaceNoCase.h"

namespace vorlan {

namespace {

constexpr CeFolderName kNames[] = {
    {"%CE_DESKTOP%", 16, false},          // CSIDL_DESKTOPDIRECTORY
    {"%CE_FAVORITES%", 6, false},         // CSIDL_FAVORITES
    {"%CE_FONTS%", 20, false},            // CSIDL_FONTS
    {"%CE_MYDOCUMENTS%", 5, false},       // CSIDL_PERSONAL
    {"%CE_STARTMENUPROGRAM%", 2, false},  // CSIDL_PROGRAMS
    {"%CE_RECENT%", 8, false},            // CSIDL_RECENT
    {"%CE_STARTUP%", 7, false},           // CSIDL_STARTUP
    {"%CE_RECYCLEBIN%", 10, false},       // CSIDL_BITBUCKET
    {"%CE_CONTROLS%", 3, false},          // CSIDL_CONTROLS
    {"%CE_PRINTERS%", 4, false},          // CSIDL_PRINTERS
    {"%CE_SENDTO%", 9, false},            // CSIDL_SENDTO
    {"%CE_STARTMENU%", 11, false},        // CSIDL_STARTMENU
    {"%CE_NETWORK%", 18, false},          // CSIDL_NETWORK
    {"%CE_NETHOOD%", 19, false},          // CSIDL_NETHOOD
    {"%CE_TEMPLATES%", 21, false},        // CSIDL_TEMPLATES
    // The startup folder lies directly below the Windows folder.
    {"%CE_WINDIR%", 7, true},
    // The installation folder lies directly below the program files folder.
    {"%CE_PROGRAMFILES%", kCeInstallFolderCode, true},
};

}  // namespace

std::span<const CeFolderName> CeFolderNames() { return kNames; }

std::string_view TopFolder(std::string_view folder) {
    size_t cut = folder.size() > 1 ? folder.find('\\', 1) : std::string_view::npos;
    return cut == std::string_view::npos ? folder : folder.substr(0, cut);
}

bool ExpandCeFolderNames(std::string_view text, const CeFolderLookup& lookup, std::string& out) {
    std::string built(text);
    for (const CeFolderName& entry : kNames) {
        if (FindNoCase(text, entry.name) == std::string_view::npos) continue;
        std::string folder;
        if (!lookup(entry.code, folder) || folder.empty()) {
            out.clear();
            return false;
        }
        if (entry.topFolderOnly) folder = std::string(TopFolder(folder));
        built = ReplaceNoCase(built, entry.name, folder);
    }
    out = std::move(built);
    return true;
}

}  // namespace vorlan
