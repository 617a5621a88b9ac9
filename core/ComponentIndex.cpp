#include "ComponentIndex.h"

#include <windows.h>

#include <ctime>

namespace vorlan {

std::string ComponentIndex::Read(const std::string& section, const char* key) const {
    char value[16] = {};
    GetPrivateProfileStringA(section.c_str(), key, "0", value, sizeof value, path_.c_str());
    return value;
}

bool ComponentIndex::Record(const std::string& section, const std::string& name,
                            const std::string& version, const std::string& patch) const {
    const std::string date = IndexDate();
    const char* file = path_.c_str();
    const bool written = WritePrivateProfileStringA(section.c_str(), "Name", name.c_str(), file) &&
                         WritePrivateProfileStringA(section.c_str(), "Version", version.c_str(), file) &&
                         WritePrivateProfileStringA(section.c_str(), "Patch", patch.c_str(), file) &&
                         WritePrivateProfileStringA(section.c_str(), "Date", date.c_str(), file);
    // Flushes the profile cache before the file is copied; this call always
    // answers FALSE, so its answer means nothing.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file);
    return written;
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
