#pragma once
// The name of the desktop's two-way state file of one device.
#include <string>
#include <string_view>

namespace vorlan {

// "TwoWaySyncData-<device name>.ini". False, with out empty, when the device
// name is not a plain file name (empty, "." or "..", or holding a path
// separator, a drive colon, a wildcard or a control character): the name
// comes from the device and must never lead the file elsewhere.
bool TwoWayStateFileName(std::string_view deviceName, std::string& out);

}  // namespace vorlan
