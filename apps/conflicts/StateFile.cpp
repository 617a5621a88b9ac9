#include "StateFile.h"

#include <vector>

#include "ConflictRows.h"

namespace vorlan::conflicts {
namespace {

// The profile call's text in a buffer that grows until it fits: calls
// answer size - 2 (names) or size - 1 (a value) when they cut.
template <class Read>
std::string ReadGrowing(Read read, DWORD cutMargin) {
    std::vector<char> buffer(4096);
    while (true) {
        DWORD length = read(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length + cutMargin < buffer.size() || buffer.size() >= (1u << 28)) return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 4);
    }
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ReadStateSections(const std::string& path) {
    std::string names = ReadGrowing(
        [&](char* buffer, DWORD size) { return GetPrivateProfileSectionNamesA(buffer, size, path.c_str()); }, 2);
    std::vector<std::pair<std::string, std::string>> sections;
    for (size_t at = 0; at < names.size();) {
        std::string section = names.c_str() + at;
        at += section.size() + 1;
        if (section.empty()) continue;
        std::string value = ReadGrowing(
            [&](char* buffer, DWORD size) {
                return GetPrivateProfileStringA(section.c_str(), "Conflitant", kNoConflict, buffer, size,
                                                path.c_str());
            },
            1);
        sections.emplace_back(section, value);
    }
    return sections;
}

bool WriteSettledPair(const std::string& path, const std::string& desktop, DWORD crc) {
    std::string text = std::to_string(static_cast<unsigned long>(crc));
    if (!WritePrivateProfileStringA(desktop.c_str(), "CRC", text.c_str(), path.c_str())) return false;
    return WritePrivateProfileStringA(desktop.c_str(), "Conflitant", nullptr, path.c_str()) != FALSE;
}

}  // namespace vorlan::conflicts
