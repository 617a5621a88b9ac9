#include "DeviceCalls.h"

namespace vorlan::device {

DeviceCalls Ce;

bool DeviceCalls::Load(const std::wstring& path, std::string& missing) {
    HMODULE module = ::LoadLibraryW(path.c_str());  // the host's: the member has the same name
    if (!module) {
        missing = "coredll.dll";
        return false;
    }
#define VORLAN_LOAD_CALL(name)                                                     \
    name = reinterpret_cast<decltype(name)>(GetProcAddress(module, #name));        \
    if (!name) {                                                                   \
        missing = #name;                                                           \
        return false;                                                              \
    }
    VORLAN_DEVICE_CALLS(VORLAN_LOAD_CALL)
#undef VORLAN_LOAD_CALL
    return true;
}

}  // namespace vorlan::device
