#include "DeviceFactNames.h"

#include <iterator>

namespace vorlan {

namespace {

struct NamedCode {
    uint32_t code;
    std::string_view name;
};

constexpr NamedCode kProcessorTypes[] = {
    {103, "SHx_SH3"},          {104, "SHx_SH4"},       {386, "INTEL_386"},     {486, "INTEL_486"},
    {586, "INTEL_PENTIUM"},    {601, "PPC_601"},       {603, "PPC_603"},       {604, "PPC_604"},
    {620, "PPC_620"},          {821, "MOTOROLA_821"},  {1824, "ARM720"},       {2080, "ARM820"},
    {2200, "INTEL_IA64"},      {2336, "ARM920"},       {2577, "STRONGARM"},    {4000, "MIPS_R4000"},
    {10003, "HITACHI_SH3"},    {10004, "HITACHI_SH3E"}, {10005, "HITACHI_SH4"}, {18767, "OPTIL"},
    {21064, "ALPHA_21064"},    {70001, "ARM_7TDMI"},
};

constexpr std::string_view kArchitectures[] = {
    "INTEL", "MIPS", "ALPHA", "PPC", "SHX", "ARM", "IA64", "ALPHA64", "MSIL", "AMD64", "IA32_ON_WIN64",
};

constexpr std::string_view kPlatforms[] = {"WIN32s", "WIN32_WINDOWS", "WIN32_NT", "WIN32_CE"};

constexpr std::string_view kUnknown = "UNKNOWN";

}  // namespace

std::string_view ProcessorTypeName(uint32_t type) {
    for (const NamedCode& entry : kProcessorTypes)
        if (entry.code == type) return entry.name;
    return kUnknown;
}

std::string_view ProcessorArchitectureName(uint32_t architecture) {
    return architecture < std::size(kArchitectures) ? kArchitectures[architecture] : kUnknown;
}

std::string_view PlatformIdName(uint32_t platformId) {
    return platformId < std::size(kPlatforms) ? kPlatforms[platformId] : kUnknown;
}

}  // namespace vorlan
