#include "StringMap.h"

namespace vorlan {

std::string& StringMap::operator[](std::string_view key) {
    auto found = index_.find(std::string(key));
    if (found != index_.end()) return entries_[found->second].second;
    index_.emplace(std::string(key), entries_.size());
    entries_.emplace_back(std::string(key), std::string());
    return entries_.back().second;
}

void StringMap::Set(std::string_view key, std::string_view value) { (*this)[key] = value; }

const std::string* StringMap::Find(std::string_view key) const {
    auto found = index_.find(std::string(key));
    return found == index_.end() ? nullptr : &entries_[found->second].second;
}

bool StringMap::Remove(std::string_view key) {
    auto found = index_.find(std::string(key));
    if (found == index_.end()) return false;
    size_t at = found->second;
    index_.erase(found);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
    for (auto& [name, position] : index_)
        if (position > at) --position;
    return true;
}

void StringMap::Clear() {
    entries_.clear();
    index_.clear();
}

}  // namespace vorlan
