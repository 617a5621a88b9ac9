#pragma once
// The desktop state file as the conflict manager reads and changes it,
// through the file plug-in's store. Every section is read, however many; a
// settled pair is written by reading the file again and changing only its
// own section, so what a synchronisation wrote meanwhile stays.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace vorlan::conflicts {

// (section, "Conflitant" or "NO_CONFLICT") for every section, in file
// order. A missing file has no sections; a file that cannot be read is
// that failure.
HRESULT ReadStateSections(const std::string& path, std::vector<std::pair<std::string, std::string>>& sections);

// The pair is settled: "CRC" becomes crc (unsigned decimal) and
// "Conflitant" goes. The read's or the replacement's failure leaves the
// file as it was.
HRESULT WriteSettledPair(const std::string& path, const std::string& desktop, DWORD crc);

}  // namespace vorlan::conflicts
