#include "RegistryPath.h"

#include <algorithm>
#include <iterator>

namespace vorlan {
namespace {

struct RootName {
    std::string_view name;
    RegistryRoot root;
};

constexpr RootName kRoots[] = {
    {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},     {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
    {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},   {"HKEY_USERS", RegistryRoot::Users},
    {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig}, {"HKEY_DYN_DATA", RegistryRoot::DynData},
};

// Root names are ASCII, so upper-casing ASCII letters is all the folding
// needed, in any code page and in UTF-16.
template <class Char>
bool IsRootName(std::basic_string_view<Char> text, std::string_view name) {
    if (text.size() != name.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        Char c = text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<Char>(c - 'a' + 'A');
        if (c != static_cast<unsigned char>(name[i])) return false;
    }
    return true;
}

template <class Char>
bool Split(std::basic_string_view<Char> path, RegistryRoot& root, std::basic_string<Char>& subKey,
           std::basic_string<Char>& valueName) {
    size_t first = path.find(Char('\\'));
    size_t last = path.rfind(Char('\\'));
    if (first == path.npos || first == last) return false;
    auto name = path.substr(0, first);
    const RootName* found = std::find_if(std::begin(kRoots), std::end(kRoots),
                                         [&](const RootName& r) { return IsRootName(name, r.name); });
    if (found == std::end(kRoots)) return false;
    root = found->root;
    subKey.assign(path.substr(first + 1, last - first - 1));
    valueName.assign(path.substr(last + 1));
    return true;
}

}  // namespace

bool SplitRegistryPathText(std::string_view path, RegistryRoot& root, std::string& subKey, std::string& valueName) {
    return Split(path, root, subKey, valueName);
}

bool SplitRegistryPathText(String16View path, RegistryRoot& root, String16& subKey, String16& valueName) {
    return Split(path, root, subKey, valueName);
}

}  // namespace vorlan
