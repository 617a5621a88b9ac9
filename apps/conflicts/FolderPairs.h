#pragma once
// Which pairs in conflict have a folder on either side (Resolve never
// copies those). The device is asked once per folder the device paths lie
// in, for the folders it holds, rather than once per pair: a long list
// mostly lies in few folders. Needs an open device session.
#include <vector>

#include "ConflictRows.h"

namespace vorlan::conflicts {

// One flag per pair, in order.
std::vector<bool> FindFolderPairs(const std::vector<Conflict>& pairs);

// The same for one pair, asking the device about its path alone.
bool IsFolderPair(const Conflict& pair);

}  // namespace vorlan::conflicts
