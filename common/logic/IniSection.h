#pragma once
// One section of the UTF-16 ini store: its keys and their values. Keys are
// compared exactly (case matters).
#include <map>

#include "Utf16.h"

namespace vorlan {

class CIniSection {
public:
    using Values = std::map<String16, String16, std::less<>>;

    // The key's value, or nullptr when the section has no such key.
    const String16* GetValue(String16View key) const;
    // Adds the key, or replaces its value.
    void SetValue(String16View key, String16View value);
    // False when the key was not there.
    bool RemoveKey(String16View key);

    // The key lines as stored: "key=value" CR LF per key.
    String16 Format() const;

    size_t size() const { return values_.size(); }
    bool empty() const { return values_.empty(); }
    Values::const_iterator begin() const { return values_.begin(); }
    Values::const_iterator end() const { return values_.end(); }

private:
    Values values_;
};

}  // namespace vorlan
