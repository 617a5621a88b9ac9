#include "IniSet.h"

namespace vorlan {

CIniSection* CIniSet::FindSection(String16View name) {
    auto found = sections_.find(name);
    return found == sections_.end() ? nullptr : &found->second;
}

const CIniSection* CIniSet::FindSection(String16View name) const {
    auto found = sections_.find(name);
    return found == sections_.end() ? nullptr : &found->second;
}

CIniSection& CIniSet::AddSection(String16View name, CIniSection section) {
    auto found = sections_.find(name);
    if (found != sections_.end()) return found->second = std::move(section);
    return sections_.emplace(String16(name), std::move(section)).first->second;
}

bool CIniSet::RemoveSection(String16View name) {
    auto found = sections_.find(name);
    if (found == sections_.end()) return false;
    sections_.erase(found);
    return true;
}

String16 CIniSet::Format() const {
    String16 text;
    for (const auto& [name, section] : sections_)
        text.append(1, '[').append(name).append(VORLAN_U16("]\r\n")).append(section.Format()).append(VORLAN_U16("\r\n"));
    return text;
}

}  // namespace vorlan
