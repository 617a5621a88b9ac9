#include "WildCardEvaluator.h"

namespace vorlan::filesync {

int32_t CFileSystemWildCardEvaluator::WildcardToRegex(const std::string& list, std::string& expression) {
    std::string text;
    text.reserve(list.size() * 2 + 2);
    // One pass does what the successive replacements would: backslashes
    // and the expression characters escaped, then the wildcards and the
    // separators turned into their expression forms.
    for (char c : list) {
        switch (c) {
            case '\\': case '.': case '[': case ']': case '^': case '+': case '-': case '|':
            case '!': case '$': case '(': case ')': case '{': case '}':
                text += '\\';
                text += c;
                break;
            case '?': text += '.'; break;
            case '*': text += ".*"; break;
            case ':': text += ")|("; break;
            default: text += c;
        }
    }
    expression = "(" + text + ")";
    return kFilterOk;
}

int32_t CFileSystemWildCardEvaluator::Compile(const std::string& list, std::regex& expression, bool& usable) {
    usable = false;
    if (list.size() > kMaxFilterList) return kFilterFailed;
    std::string text;
    WildcardToRegex(list, text);
    try {
        expression.assign(text, std::regex::ECMAScript | std::regex::icase | std::regex::optimize);
    } catch (const std::exception&) {
        return kFilterFailed;
    }
    usable = true;
    return kFilterOk;
}

int32_t CFileSystemWildCardEvaluator::SetInclusion(const std::string& list) {
    inclusion_ = list;
    return Compile(list, included_, includedUsable_);
}

int32_t CFileSystemWildCardEvaluator::SetExclusion(const std::string& list) {
    exclusion_ = list;
    hasExclusion_ = !list.empty();
    if (!hasExclusion_) {
        excludedUsable_ = true;
        return kFilterOk;
    }
    return Compile(list, excluded_, excludedUsable_);
}

bool CFileSystemWildCardEvaluator::Match(const std::string& name) const {
    if (!includedUsable_ || !excludedUsable_) return true;
    try {
        if (!std::regex_match(name, included_)) return true;
        return hasExclusion_ && std::regex_match(name, excluded_);
    } catch (const std::exception&) {
        return true;  // a name the matcher cannot decide is not taken
    }
}

}  // namespace vorlan::filesync
