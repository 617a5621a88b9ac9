#pragma once
// The device's index of installed components ("Vorlan.sdo"), worked on as a
// desktop copy in private-profile format: one section per component,
// named by the component row's "ConfigUrl" exactly as the row holds it,
// with "Name", "Version", "Patch" and "Date".
#include <string>

namespace vorlan {

inline constexpr char kDeviceIndexPath[] = "\\Program Files\\Dravenhall\\Vorlan\\Vorlan.sdo";

class ComponentIndex {
public:
    explicit ComponentIndex(std::string path) : path_(std::move(path)) {}
    const std::string& Path() const { return path_; }

    // A key of a section; "0" when the section or key is absent. At most 15
    // characters are read.
    std::string Read(const std::string& section, const char* key) const;
    // Records a component run now; false when the copy cannot be written.
    bool Record(const std::string& section, const std::string& name, const std::string& version,
                const std::string& patch) const;

private:
    std::string path_;
};

// Today's date as the index writes it ("Wednesday, December 09, 2026").
std::string IndexDate();

}  // namespace vorlan
