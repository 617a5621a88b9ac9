#pragma once
// The wildcard lists of a folder item, which decide the entries a folder
// walk takes: patterns separated by ":", "*" for any run of characters,
// "?" for one, every other character for itself. A name is taken when
// some inclusion pattern matches all of it and no exclusion pattern does;
// case is ignored.
#include <cstddef>
#include <cstdint>
#include <regex>
#include <string>

namespace vorlan::filesync {

// Results, as HRESULT values: S_OK and E_FAIL.
inline constexpr int32_t kFilterOk = 0;
inline constexpr int32_t kFilterFailed = static_cast<int32_t>(0x80004005);

inline constexpr size_t kMaxFilterList = 1024;

class CFileSystemWildCardEvaluator {
public:
    virtual ~CFileSystemWildCardEvaluator() = default;

    // Store and compile a list. E_FAIL when the list cannot be compiled,
    // or is longer than kMaxFilterList (the matcher compiles by recursion,
    // so an unbounded list could use up the stack); the evaluator then
    // takes no name at all, so a failed list never lets everything through.
    int32_t SetInclusion(const std::string& list);
    int32_t SetExclusion(const std::string& list);

    // The list as one expression: one parenthesised alternative per
    // pattern, every character but the wildcards escaped.
    static int32_t WildcardToRegex(const std::string& list, std::string& expression);

    // True when the entry is to be skipped.
    bool Match(const std::string& name) const;

    const std::string& Inclusion() const { return inclusion_; }
    const std::string& Exclusion() const { return exclusion_; }

private:
    static int32_t Compile(const std::string& list, std::regex& expression, bool& usable);

    std::string inclusion_, exclusion_;
    std::regex included_, excluded_;
    bool includedUsable_ = false, excludedUsable_ = true, hasExclusion_ = false;
};

}  // namespace vorlan::filesync
