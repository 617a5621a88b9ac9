#pragma once
// A string-to-string map with exact (case-sensitive) keys that iterates in
// insertion order, so every walk over it (variable expansion, copying a row
// into an InfoNode, saving a row) is deterministic: attributes keep document
// order and registry values their enumeration order.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vorlan {

class StringMap {
public:
    using Entry = std::pair<std::string, std::string>;

    // The value of key; an absent key is added with an empty value first.
    std::string& operator[](std::string_view key);
    // Adds the pair, or replaces the value of an existing key.
    void Set(std::string_view key, std::string_view value);
    // The value of key, or nullptr; never adds.
    const std::string* Find(std::string_view key) const;
    bool Remove(std::string_view key);
    void Clear();

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<Entry>::const_iterator end() const { return entries_.end(); }

private:
    std::vector<Entry> entries_;
    std::unordered_map<std::string, size_t> index_;
};

}  // namespace vorlan
