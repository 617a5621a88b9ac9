#pragma once
// Names of the device's processor and platform codes, as the system
// variables and the device viewer show them.
#include <cstdint>
#include <string_view>

namespace vorlan {

// The processor type (SYSTEM_INFO.dwProcessorType) without its PROCESSOR_
// prefix, such as "STRONGARM" for 2577; "UNKNOWN" for a code not listed.
std::string_view ProcessorTypeName(uint32_t type);
// The processor architecture (wProcessorArchitecture 0 to 10), such as
// "ARM" for 5; "UNKNOWN" for anything else.
std::string_view ProcessorArchitectureName(uint32_t architecture);
// The platform (dwPlatformId 0 to 3), such as "WIN32_CE" for 3; "UNKNOWN"
// for anything else.
std::string_view PlatformIdName(uint32_t platformId);

}  // namespace vorlan
