#pragma once
// What the service manager remembers of each provider between connections
// and between its own runs: the store's identifier and the byte form of
// every item it saw. Kept in a file of journal lines (SharedFile.h):
//   store <object type> <identifier in hex>
//   item <object type> <byte form in hex>
// replaced as a whole on every save.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace vorlan::activesync {

struct ProviderState {
    std::vector<BYTE> storeId;
    std::vector<std::vector<BYTE>> items;
};
using SavedState = std::map<std::string, ProviderState>;  // by object type

// A missing file is an empty state; lines that cannot be read are skipped.
SavedState LoadSavedState(const std::string& path);
bool SaveState(const std::string& path, const SavedState& state);

}  // namespace vorlan::activesync
