#pragma once
// The desktop's two-way state file in memory: one section per workstation
// path of a pair, with the key "CRC" (the workstation checksum at the last
// synchronisation, unsigned decimal; missing or "-1" is no record) and,
// while the pair is in conflict, "Conflitant" (the device path). The text
// is the platform's private-profile form ("[section]", "key=value", CR LF);
// section and key names compare without regard to case, as that form's
// readers do, and lines this model does not know are kept as they were.
// No platform calls: the file is read whole into it and written back whole.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vorlan::filesync {

// A path as the state file compares it: ASCII letters in lower case,
// other bytes as they are.
std::string FoldCase(std::string_view text);

inline constexpr char kStateCrcKey[] = "CRC";
inline constexpr char kStateConflictKey[] = "Conflitant";

class TwoWayState {
public:
    // Replaces the content with the text's sections.
    void Parse(std::string_view text);
    std::string Format() const;

    // The value of the key, or nothing when the section or key is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes the key; false when it was not there.
    bool RemoveKey(std::string_view section, std::string_view key);
    // Removes the whole section; false when it was not there.
    bool RemoveSection(std::string_view section);
    // Removes every section whose name begins with folder + "\": the
    // records of everything below a folder. The number removed.
    size_t RemoveBelow(std::string_view folder);

    // The stored checksum; false for no record (missing, "-1", or text that
    // is not an unsigned decimal of 32 bits).
    bool ReadStoredCrc(std::string_view section, uint32_t& crc) const;
    // Records the checksum and ends a conflict mark.
    void WriteStoredCrc(std::string_view section, uint32_t crc);
    void SetConflictRecord(std::string_view section, std::string_view devicePath);
    void ClearConflictRecord(std::string_view section);
    std::optional<std::string> ConflictRecord(std::string_view section) const;

    // The names of the entries directly inside folder that have sections.
    std::vector<std::string> ChildrenOf(std::string_view folder) const;
    // The names of the sections, in file order.
    std::vector<std::string> Sections() const;
    // True once anything was changed since the last Parse or MarkSaved.
    bool Changed() const { return changed_; }
    void MarkSaved() { changed_ = false; }

private:
    struct Line {
        std::string key;    // the whole line when it holds no "="
        std::string value;
        bool isKey = false;
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
        bool removed = false;
    };
    Section* Find(std::string_view name);
    const Section* Find(std::string_view name) const;
    Section& FindOrAdd(std::string_view name);

    std::vector<Line> preamble_;  // lines before the first section
    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> index_;  // lower-case name -> section
    bool changed_ = false;
};

}  // namespace vorlan::filesync
