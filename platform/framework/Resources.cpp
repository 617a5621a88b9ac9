#include "Resources.h"

#include <vector>

#include "ModuleState.h"

namespace vorlan {

HINSTANCE AfxGetResourceHandle() { return CurrentResourceModule(); }

std::string LoadResourceString(UINT id, HINSTANCE module) {
    if (!module) module = CurrentResourceModule();
    // A string resource holds at most 65535 characters.
    for (int size = 256; size <= 65536; size *= 16) {
        std::vector<char> text(static_cast<size_t>(size));
        int length = LoadStringA(module, id, text.data(), size);
        if (length <= 0) return {};
        if (length < size - 1 || size == 65536) return std::string(text.data(), static_cast<size_t>(length));
    }
    return {};
}

}  // namespace vorlan
