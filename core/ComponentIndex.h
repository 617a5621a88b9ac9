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

    // A key of a section, read whole; "0" when the section or key is absent.
    std::string Read(const std::string& section, const char* key) const;
    // Records a component run now. What was written is read back: a value
    // the file cannot hold as it is (too long, or one the profile functions
    // change) leaves the copy as it was, and the answer is false, as when
    // the copy cannot be written at all.
    bool Record(const std::string& section, const std::string& name, const std::string& version,
                const std::string& patch) const;

private:
    std::string path_;
};

// Today's date as the index writes it ("Wednesday, December 09, 2026").
std::string IndexDate();

}  // namespace vorlan
