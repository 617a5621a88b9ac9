#include "StateFile.h"

#include "ConflictRows.h"
#include "TwoWayStateFile.h"

namespace vorlan::conflicts {

HRESULT ReadStateSections(const std::string& path, std::vector<std::pair<std::string, std::string>>& sections) {
    sections.clear();
    filesync::TwoWayStateFile file;
    const HRESULT hr = file.Load(path);
    if (FAILED(hr)) return hr;
    for (const std::string& section : file.State().Sections())
        sections.emplace_back(section, file.State().ConflictRecord(section).value_or(kNoConflict));
    return S_OK;
}

HRESULT WriteSettledPair(const std::string& path, const std::string& desktop, DWORD crc) {
    filesync::TwoWayStateFile file;
    const HRESULT hr = file.Load(path);
    if (FAILED(hr)) return hr;
    file.State().WriteStoredCrc(desktop, crc);
    return file.Save();
}

}  // namespace vorlan::conflicts
