#include "ComponentIndex.h"

#include <windows.h>

#include <ctime>
#include <utility>
#include <vector>

namespace vorlan {
namespace {

std::string ReadValue(const std::string& file, const std::string& section, const char* key, const char* fallback) {
    std::vector<char> value(256);
    for (;;) {
        const DWORD length = GetPrivateProfileStringA(section.c_str(), key, fallback, value.data(),
                                                      static_cast<DWORD>(value.size()), file.c_str());
        // A value that filled the buffer may have been cut: read it again in a larger one.
        if (length + 1 < value.size() || value.size() >= (1u << 26)) return std::string(value.data(), length);
        value.resize(value.size() * 4);
    }
}

// The profile functions keep files in a cache; this writes it out and lets
// the next call read the file as it is on disk.
void FlushProfile(const std::string& file) { WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str()); }

}  // namespace

std::string ComponentIndex::Read(const std::string& section, const char* key) const {
    return ReadValue(path_, section, key, "0");
}

bool ComponentIndex::Record(const std::string& section, const std::string& name,
                            const std::string& version, const std::string& patch) const {
    // Written to a copy first, so that a value that does not come back whole
    // leaves nothing of itself in the index.
    const std::string draft = path_ + ".rec";
    if (!CopyFileA(path_.c_str(), draft.c_str(), FALSE)) return false;
    const std::pair<const char*, std::string> values[] = {
        {"Name", name}, {"Version", version}, {"Patch", patch}, {"Date", IndexDate()}};
    bool stored = true;
    for (const auto& [key, value] : values)
        stored = stored && WritePrivateProfileStringA(section.c_str(), key, value.c_str(), draft.c_str());
    FlushProfile(draft);
    // The profile functions may answer TRUE having written a value cut
    // short, or none at all.
    for (const auto& [key, value] : values) stored = stored && ReadValue(draft, section, key, "") == value;
    FlushProfile(draft);
    if (stored) {
        FlushProfile(path_);
        stored = MoveFileExA(draft.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
        FlushProfile(path_);
    }
    if (!stored) DeleteFileA(draft.c_str());
    return stored;
}

std::string IndexDate() {
    std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_s(&local, &now);
    char text[64] = {};
    std::strftime(text, sizeof text, "%A, %B %d, %Y", &local);
    return text;
}

}  // namespace vorlan
