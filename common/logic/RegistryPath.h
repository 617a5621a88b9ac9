#pragma once
// Registry paths written as one text: the root name, a backslash, the key
// path, a backslash and the value name, such as
// "HKEY_CURRENT_USER\SOFTWARE\Dravenhall\Vorlan\PluginConfig". The root is
// the text before the first backslash (any letter case), the value name the
// text after the last one (empty for the key's default value), the key path
// what lies between.
#include <cstdint>
#include <string>
#include <string_view>

#include "Utf16.h"

namespace vorlan {

// The predefined keys, by their registry handle values.
enum class RegistryRoot : uint32_t {
    ClassesRoot = 0x80000000,
    CurrentUser = 0x80000001,
    LocalMachine = 0x80000002,
    Users = 0x80000003,
    CurrentConfig = 0x80000005,
    DynData = 0x80000006,
};

// False, leaving the outputs alone, when the path has fewer than two
// backslashes or its root name is none of HKEY_CLASSES_ROOT,
// HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG and
// HKEY_DYN_DATA.
bool SplitRegistryPathText(std::string_view path, RegistryRoot& root, std::string& subKey, std::string& valueName);
bool SplitRegistryPathText(String16View path, RegistryRoot& root, String16& subKey, String16& valueName);

}  // namespace vorlan
