#pragma once
// All string values of one registry key, value name to data, in the order
// the registry enumerates them (the installed plug-in list, for example).
#include <windows.h>

#include <string_view>

#include "StringMap.h"

namespace vorlan {

class CMapStrToStrReg : public StringMap {
public:
    // Replaces the map by the REG_SZ values of the key named by keyPath:
    // root name, key path and a closing backslash (whatever follows the last
    // backslash is ignored). Values of other types are skipped; names and
    // data of any length are read whole. -1 for an unusable path, else the
    // error of opening or reading the key; the values read before a failure
    // stay.
    LONG Load(std::string_view keyPath);
};

}  // namespace vorlan
