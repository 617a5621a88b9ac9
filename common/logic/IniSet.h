#pragma once
// The sections of the UTF-16 ini store by name (names compared exactly), and
// its text form: per section "[" name "]" CR LF, its key lines, then an empty
// line. The text is stored as UTF-16LE without byte-order mark.
#include <map>

#include "IniSection.h"
#include "Utf16.h"

namespace vorlan {

// How much of a text the reader could take.
enum class IniText {
    kComplete,     // ends with a completed key line
    kLastLineCut,  // whole but for its last line, cut short (or no key at all)
    kDamaged,      // broken before its last line: a zero character, a name or
                   // key running over a line end, or text with no section
};

class CIniSet {
public:
    using Sections = std::map<String16, CIniSection, std::less<>>;

    // The section of that name, or nullptr.
    CIniSection* FindSection(String16View name);
    const CIniSection* FindSection(String16View name) const;
    // Stores the section under the name, replacing one of the same name.
    CIniSection& AddSection(String16View name, CIniSection section = {});
    // False when there is no such section.
    bool RemoveSection(String16View name);
    void RemoveAll() { sections_.clear(); }

    String16 Format() const;

    // Reads the text into the set (see IniParser.cpp). Sections and keys
    // completed before a cut or damage stay in the set; reading stops at a
    // zero character.
    IniText Parse(String16View text);

    size_t size() const { return sections_.size(); }
    bool empty() const { return sections_.empty(); }
    Sections::const_iterator begin() const { return sections_.begin(); }
    Sections::const_iterator end() const { return sections_.end(); }

private:
    Sections sections_;
};

}  // namespace vorlan
