#pragma once
// The command line ActiveSync starts when a device connects, so that the
// runner synchronises the default project and closes.
#include <string>

namespace vorlan {

// Longest command line ActiveSync keeps, without its terminator.
inline constexpr size_t kAutoStartCommandMost = 259;

// "\"<installDir>Stelmar.exe\" /SyncNow", with a backslash added to an
// installation folder that ends without one. False, command untouched, for
// an empty folder or a command longer than kAutoStartCommandMost.
bool MakeAutoStartCommand(const std::string& installDir, std::string& command);

}  // namespace vorlan
