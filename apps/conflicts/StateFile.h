#pragma once
// The desktop state file as the conflict manager reads and changes it.
// Every section is read, however many; a settled pair is written by
// changing only its own section, so what a synchronisation wrote meanwhile
// stays.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace vorlan::conflicts {

// (section, "Conflitant" or "NO_CONFLICT") for every section, in file
// order. A missing file has no sections.
std::vector<std::pair<std::string, std::string>> ReadStateSections(const std::string& path);

// The pair is settled: "CRC" becomes crc (unsigned decimal) and
// "Conflitant" goes. False when the file could not be written.
bool WriteSettledPair(const std::string& path, const std::string& desktop, DWORD crc);

}  // namespace vorlan::conflicts
