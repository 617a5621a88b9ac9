#pragma once
// How journaled calls show their results: HRESULTs and words in hex, BOOLs
// as TRUE/FALSE.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace vorlan::activesync {

inline std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
    return text;
}
inline std::string Hex(HRESULT hr) { return Hex(static_cast<uint32_t>(hr)); }
inline std::string Bool(uint32_t value) { return value ? "TRUE" : "FALSE"; }

}  // namespace vorlan::activesync
