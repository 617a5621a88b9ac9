#include "IniSection.h"

namespace vorlan {

const String16* CIniSection::GetValue(String16View key) const {
    auto found = values_.find(key);
    return found == values_.end() ? nullptr : &found->second;
}

void CIniSection::SetValue(String16View key, String16View value) {
    auto found = values_.find(key);
    if (found != values_.end())
        found->second = value;
    else
        values_.emplace(String16(key), String16(value));
}

bool CIniSection::RemoveKey(String16View key) {
    auto found = values_.find(key);
    if (found == values_.end()) return false;
    values_.erase(found);
    return true;
}

String16 CIniSection::Format() const {
    String16 text;
    for (const auto& [key, value] : values_) text.append(key).append(1, '=').append(value).append(VORLAN_U16("\r\n"));
    return text;
}

}  // namespace vorlan
