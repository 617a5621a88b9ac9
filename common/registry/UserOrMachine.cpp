#include "UserOrMachine.h"

#include "RegistryByPath.h"

namespace vorlan {
namespace {

template <class Read>
LONG UserThenMachine(std::string_view settingsPath, Read&& read) {
    std::string path = "HKEY_CURRENT_USER";
    path += settingsPath;
    const LONG user = read(path);
    if (user != ERROR_FILE_NOT_FOUND && user != ERROR_INVALID_DATATYPE) return user;
    path = "HKEY_LOCAL_MACHINE";
    path += settingsPath;
    return read(path);
}

}  // namespace

LONG ReadUserOrMachineDword(std::string_view settingsPath, DWORD* value) {
    return UserThenMachine(settingsPath, [&](const std::string& path) { return RegReadDword(path, value); });
}

LONG ReadUserOrMachineString(std::string_view settingsPath, char* buffer, size_t bufferSize) {
    return UserThenMachine(settingsPath,
                           [&](const std::string& path) { return RegReadString(path, buffer, bufferSize); });
}

LONG ReadUserOrMachineString(std::string_view settingsPath, std::string& text) {
    return UserThenMachine(settingsPath, [&](const std::string& path) { return RegReadString(path, text); });
}

}  // namespace vorlan
