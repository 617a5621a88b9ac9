#include "RegistryReaders.h"

#include <vector>

#include "RegistryByPath.h"
#include "UserOrMachine.h"

namespace vorlan {

LONG RegReadExpandString(std::string_view path, std::string& text) {
    text.clear();
    std::vector<BYTE> data(kExpandStringReadSize);
    DWORD type = 0, size = kExpandStringReadSize;
    LONG r = RegQueryValueByPath(path, data.data(), &type, &size);
    if (r != ERROR_SUCCESS) return r;
    if (type != REG_EXPAND_SZ && type != REG_SZ) return ERROR_INVALID_DATATYPE;
    // The stored text need not end in a terminator; it must leave room for one.
    std::string value(reinterpret_cast<const char*>(data.data()), size);
    if (size_t end = value.find('\0'); end != std::string::npos) value.resize(end);
    if (value.size() + 1 > kExpandStringReadSize) return ERROR_MORE_DATA;
    text = std::move(value);
    return ERROR_SUCCESS;
}

DWORD ReadTranslatePathSetting() {
    DWORD value = 1;
    ReadUserOrMachineDword("\\SOFTWARE\\Dravenhall\\Common\\CommonDlgs\\TranslatePath", &value);
    return value;
}

}  // namespace vorlan
